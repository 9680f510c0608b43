#include "ShellWindows.h"
#include "query/Form1.h"

namespace ponencias {

void RegisterProgramWindows() {
    RegisterShellWindows();
    Windows::Register(WindowId::Query, [] { return new Form1; });
}

}  // namespace ponencias
