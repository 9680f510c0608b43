#include "Desktop.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

#include "store/ApplicationFolder.h"

namespace ponencias {

namespace {
DesktopOpener& desktopOpener() {
    static DesktopOpener opener;
    return opener;
}
}  // namespace

bool OpenOnDesktop(const QUrl& url) {
    if (desktopOpener()) {
        return desktopOpener()(url);
    }
    return QDesktopServices::openUrl(url);
}

void SetDesktopOpenerForTesting(DesktopOpener opener) {
    desktopOpener() = std::move(opener);
}

QString MissingDocumentMessage(const QString& path) {
    return QStringLiteral("No se encontró el documento \"%1\" en la carpeta del programa:\n%2")
        .arg(QFileInfo(path).fileName(), path);
}

void OpenAppDocument(QWidget* owner, const QString& name) {
    const QString path = ApplicationFile(name);
    if (!QFileInfo(path).isFile()) {
        QMessageBox::warning(owner ? owner->window() : nullptr, QStringLiteral("Ponencias"),
                             MissingDocumentMessage(path));
        return;
    }
    OpenOnDesktop(QUrl::fromLocalFile(path));
}

}  // namespace ponencias
