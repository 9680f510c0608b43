#include "WidgetExportFeedback.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace ponencias {

namespace {

void Show(QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QString::fromLatin1(kProgramTitle), text, QMessageBox::Ok,
                    QApplication::activeWindow());
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

bool WidgetExportFeedback::showWorkbook(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void InstallWidgetExportFeedback() {
    static WidgetExportFeedback feedback;
    SetExportFeedback(&feedback);
}

}  // namespace ponencias
