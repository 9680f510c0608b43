#pragma once

#include <QIcon>

namespace ponencias {

// What a program takes from the shell: its three windows and the pictures they draw.

// Tells the window registry how to make the splash, main and about windows.
void RegisterShellWindows();

// Makes the pictures built into the program (logo, button pictures, window icon) available under
// ":/ponencias/". The shell lives in a static library, so its resources are registered by hand.
void InitShellResources();

// The program's icon, at every size it is drawn in.
QIcon ProgramIcon();

}  // namespace ponencias
