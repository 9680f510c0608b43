#pragma once

#include <QString>

#include "desktop/DesktopOpener.h"

class QWidget;

namespace ponencias {

// Opens a document delivered in the application folder. Instead of passing the desktop a path
// that leads nowhere or a document it has no application for, a message over `owner` names the
// file: a warning when it is missing from the folder, an information message when the desktop
// has no application for its type, or when the desktop's opener fails (told from the event loop
// when the opener ends; over the active window if `owner` is gone by then).
void OpenAppDocument(QWidget* owner, const QString& name);

// The messages for a missing document and for one the desktop cannot open.
QString MissingDocumentMessage(const QString& path);
QString NoApplicationForDocumentMessage(const QString& path);

}  // namespace ponencias
