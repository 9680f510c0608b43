#include "DocumentLauncher.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include "desktop/DesktopOpener.h"
#include "store/ApplicationFolder.h"

namespace ponencias {

namespace {
QWidget* messageOwner(QWidget* owner) {
    return owner ? owner->window() : QApplication::activeWindow();
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
    const auto noApplication = [owner = QPointer<QWidget>(owner), path] {
        QMessageBox::information(messageOwner(owner), QStringLiteral("Ponencias"),
                                 NoApplicationForDocumentMessage(path));
    };
    // Asked before opening, so that the usual case is told at once; an application declared
    // for the type that still cannot show the document is told when the opener ends.
    if (!DesktopHasApplicationFor(DesktopTypesOfFile(path))) {
        noApplication();
        return;
    }
    OpenOnDesktop(QUrl::fromLocalFile(path), noApplication);
}

}  // namespace ponencias
