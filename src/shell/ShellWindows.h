#pragma once

namespace ponencias {

// Tells the window registry how to make the splash, main and about windows.
void RegisterShellWindows();

// Every window of the program: the shell's and the query window.
void RegisterProgramWindows();

}  // namespace ponencias
