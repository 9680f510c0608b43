#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace ponencias {

// Hands a document or a link to the desktop, which opens it with the application associated
// with its type. The answer only says whether the desktop took the request.
bool OpenOnDesktop(const QUrl& url);

// The tests stand in for the desktop so that nothing is really opened; an empty opener puts the
// desktop back.
using DesktopOpener = std::function<bool(const QUrl&)>;
void SetDesktopOpenerForTesting(DesktopOpener opener);

// Opens a document delivered in the application folder. The desktop's answer is not looked at;
// a document that is missing from the folder is reported by a message that names the file, over
// `owner`, instead of passing the desktop a path that leads nowhere.
void OpenAppDocument(QWidget* owner, const QString& name);

// The message for a missing document.
QString MissingDocumentMessage(const QString& path);

}  // namespace ponencias
