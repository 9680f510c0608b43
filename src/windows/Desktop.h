#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace ponencias {

// Hands a document or a link to the desktop, which opens it with the application associated
// with its type. The answer only says whether the desktop took the request. The desktop's
// opener runs apart from the program, and whatever it prints goes nowhere: its complaints are
// not the user's business on the program's terminal.
bool OpenOnDesktop(const QUrl& url);

// The tests stand in for the desktop so that nothing is really opened; an empty opener puts the
// desktop back.
using DesktopOpener = std::function<bool(const QUrl&)>;
void SetDesktopOpenerForTesting(DesktopOpener opener);

// Opens a document delivered in the application folder. The desktop's answer is not looked at;
// instead of passing the desktop a path that leads nowhere or a document it has no application
// for, a message over `owner` names the file: a warning when it is missing from the folder, an
// information message when the desktop has no application for its type.
void OpenAppDocument(QWidget* owner, const QString& name);

// The messages for a missing document and for one the desktop cannot open.
QString MissingDocumentMessage(const QString& path);
QString NoApplicationForDocumentMessage(const QString& path);

}  // namespace ponencias
