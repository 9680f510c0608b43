#include "ProgramWindows.h"

#include "query/Form1.h"
#include "shell/Shell.h"

namespace ponencias {

void RegisterProgramWindows() {
    RegisterShellWindows();
    Windows::Register(WindowId::Query, [] { return new Form1; });
}

}  // namespace ponencias
