#pragma once

#include <QUrl>
#include <functional>

namespace ponencias {

// Hands a file or a link to the desktop, which opens it with the application associated with
// its type: the one way the program and the export hand anything over. The answer only says
// whether the desktop took the request. The desktop's opener runs apart from the program, and
// whatever it prints goes nowhere: its complaints are not the user's business on the program's
// terminal. Whether the desktop has an application for a type is asked first, of
// DesktopHasApplicationFor (DesktopAssociations.h): the opener fails out of sight, long after it
// has started.
bool OpenOnDesktop(const QUrl& url);

// The tests stand in for the desktop so that nothing is really opened; an empty opener puts the
// desktop back.
using DesktopOpener = std::function<bool(const QUrl&)>;
void SetDesktopOpenerForTesting(DesktopOpener opener);

}  // namespace ponencias
