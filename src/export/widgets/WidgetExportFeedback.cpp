#include "WidgetExportFeedback.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace ponencias {

namespace {

void Show(QMessageBox::Icon icon, const QString& text, bool selectable = false) {
    QMessageBox box(icon, QString::fromLatin1(kProgramTitle), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    if (selectable) {
        box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    box.exec();
}

}  // namespace

void WidgetExportFeedback::showNoRecords() {
    Show(QMessageBox::Information, QString::fromUtf8(kNoRecordsMessage));
}

void WidgetExportFeedback::showError(const QString& text) {
    Show(QMessageBox::Critical, text);
}

void WidgetExportFeedback::showNotice(const QString& text) {
    Show(QMessageBox::Warning, text);
}

void WidgetExportFeedback::showInformation(const QString& text) {
    // A path the user may want to paste elsewhere.
    Show(QMessageBox::Information, text, true);
}

bool WidgetExportFeedback::showWorkbook(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void InstallWidgetExportFeedback() {
    static WidgetExportFeedback feedback;
    SetExportFeedback(&feedback);
}

}  // namespace ponencias
