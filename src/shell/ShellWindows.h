#pragma once

namespace ponencias {

// Tells the window registry how to make the splash, main and about windows.
void RegisterShellWindows();

}  // namespace ponencias
