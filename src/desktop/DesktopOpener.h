#pragma once

#include <QStringList>
#include <QUrl>
#include <functional>

namespace ponencias {

// Whether the desktop has an application for any of the given MIME types: a launchable desktop
// entry, in the desktop entry folders, that declares one of them. Reads only those folders.
bool DesktopHasApplicationFor(const QStringList& mimeTypes);

// The MIME types a file may be opened as: its type by name and by content, their aliases and the
// types they derive from, as the desktop matches associations. The catch-all types that every
// file derives from are left out: an application for those says nothing about this file.
QStringList DesktopTypesOfFile(const QString& path);

// Hands a file or a link to the desktop, which opens it with the application associated with
// its type: the one way the program and the export hand anything over. The desktop's opener runs
// apart from the program, and whatever it prints goes nowhere: its complaints are not the user's
// business on the program's terminal. Its outcome is watched without waiting for it: an opener
// that cannot be started or ends in failure (xdg-open's status 4 when no application could take
// the file, or an application declared for the type that does not start) runs `failed`, later,
// in the event loop, never within this call. The opener may take long to end (a desktop without
// a session's opener runs the application itself and ends with it), so nothing here waits.
// Whether the desktop has an application for a type is asked first, of DesktopHasApplicationFor,
// so that the usual case is told at once.
void OpenOnDesktop(const QUrl& url, std::function<void()> failed = {});

// The tests stand in for the desktop so that nothing is really opened. The stand-in gets the
// url and the failure to run, which it may call then or at any later time (it reaches the
// caller in the event loop either way); an empty opener puts the desktop back.
using DesktopOpener = std::function<void(const QUrl& url, const std::function<void()>& failed)>;
void SetDesktopOpenerForTesting(DesktopOpener opener);

}  // namespace ponencias
