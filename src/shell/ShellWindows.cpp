#include "ShellWindows.h"

#include "Form3.h"
#include "Form4.h"
#include "frmSplash.h"

namespace ponencias {

void RegisterShellWindows() {
    Windows::Register(WindowId::Splash, [] { return new frmSplash; });
    Windows::Register(WindowId::Main, [] { return new Form3; });
    Windows::Register(WindowId::About, [] { return new Form4; });
}

}  // namespace ponencias
