#pragma once

#include <QString>
#include <QStringList>

namespace ponencias {

// Whether the desktop has an application for any of the given MIME types: a launchable desktop
// entry, in the desktop entry folders, that declares one of them. Reads only those folders.
bool DesktopHasApplicationFor(const QStringList& mimeTypes);

// The MIME types a file may be opened as: its type by name and by content, their aliases and the
// types they derive from, as the desktop matches associations. The catch-all types that every
// file derives from are left out: an application for those says nothing about this file.
QStringList DesktopTypesOfFile(const QString& path);

}  // namespace ponencias
