#include "WidgetExportFeedback.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <stdexcept>

#include "desktop/DesktopOpener.h"
#include "export/SpreadsheetFileKind.h"

namespace ponencias {

namespace {

// Shows a message with its OK button and, when `action` is given, a button of that caption;
// true when the user pressed that one.
bool Show(QMessageBox::Icon icon, const QString& text, bool selectable = false,
          const char* action = nullptr) {
    QMessageBox box(icon, QString::fromLatin1(kProgramTitle), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    if (selectable) {
        box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    const QPushButton* button =
        action ? box.addButton(QString::fromUtf8(action), QMessageBox::ActionRole) : nullptr;
    box.exec();
    return button && box.clickedButton() == button;
}

// The save dialog; an empty answer when the user cancels.
QString ChooseCopyPath(const QString& savedPath) {
    QFileDialog dialog(QApplication::activeWindow(), QString::fromUtf8(kSaveCopyTitle),
                       ProposedCopyPath(savedPath),
                       QStringLiteral("Libro de hoja de cálculo (*.xlsx)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("xlsx"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

void SaveCopy(const QString& savedPath) {
    const QString chosen = ChooseCopyPath(savedPath);
    if (chosen.isEmpty()) {
        return;
    }
    try {
        SaveWorkbookCopy(savedPath, chosen);
    } catch (const std::runtime_error& error) {
        Show(QMessageBox::Critical,
             QStringLiteral("No se pudo guardar la copia ") + WriteFailureText(error, chosen));
    }
}

}  // namespace

QString ProposedCopyPath(const QString& savedPath) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QDir::homePath();
    }
    return folder + QLatin1Char('/') + QFileInfo(savedPath).completeBaseName() + QLatin1Char('.') +
           SpreadsheetFileSuffix(SpreadsheetFileKind::Workbook);
}

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

void WidgetExportFeedback::showSavedWorkbook(const QString& text, const QString& path) {
    if (Show(QMessageBox::Information, text, true, kSaveCopyButton)) {
        SaveCopy(path);
    }
}

bool WidgetExportFeedback::showWorkbook(const QString& path) {
    // The opener's failure arrives when the export has long ended; this feedback may have been
    // replaced by then.
    OpenOnDesktop(QUrl::fromLocalFile(path), [path] {
        CurrentExportFeedback().showSavedWorkbook(SavedResultText(path), path);
    });
    return true;
}

void InstallWidgetExportFeedback() {
    static WidgetExportFeedback feedback;
    SetExportFeedback(&feedback);
}

}  // namespace ponencias
