#pragma once

#include <QIcon>

namespace ponencias {

// Makes the pictures built into the program (logo, button pictures, window icon) available under
// ":/ponencias/". The shell lives in a static library, so its resources are registered by hand.
void InitShellResources();

// The program's icon, at every size it is drawn in.
QIcon ProgramIcon();

}  // namespace ponencias
