#include "Desktop.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

#include "desktop/DesktopAssociations.h"
#include "store/ApplicationFolder.h"

namespace ponencias {

namespace {
QWidget* messageOwner(QWidget* owner) {
    return owner ? owner->window() : nullptr;
}
}  // namespace

QString MissingDocumentMessage(const QString& path) {
    return QStringLiteral("No se encontró el documento \"%1\" en la carpeta del programa:\n%2")
        .arg(QFileInfo(path).fileName(), path);
}

QString NoApplicationForDocumentMessage(const QString& path) {
    return QStringLiteral(
               "No hay una aplicación que pueda mostrar el documento \"%1\". El documento está "
               "en:\n%2")
        .arg(QFileInfo(path).fileName(), QDir::toNativeSeparators(path));
}

void OpenAppDocument(QWidget* owner, const QString& name) {
    const QString path = ApplicationFile(name);
    if (!QFileInfo(path).isFile()) {
        QMessageBox::warning(messageOwner(owner), QStringLiteral("Ponencias"),
                             MissingDocumentMessage(path));
        return;
    }
    // Asked before opening: the desktop's opener fails out of sight, long after it has started.
    if (!DesktopHasApplicationFor(DesktopTypesOfFile(path))) {
        QMessageBox::information(messageOwner(owner), QStringLiteral("Ponencias"),
                                 NoApplicationForDocumentMessage(path));
        return;
    }
    OpenOnDesktop(QUrl::fromLocalFile(path));
}

}  // namespace ponencias
