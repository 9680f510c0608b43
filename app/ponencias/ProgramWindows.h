#pragma once

namespace ponencias {

// Which window the registry makes for each of the program's windows: the shell's splash, main
// and about windows and the query window. The one place that knows them all.
void RegisterProgramWindows();

}  // namespace ponencias
