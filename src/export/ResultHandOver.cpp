#include "ResultHandOver.h"

#include <QDir>
#include <cstdio>

#include "ResultWorkbookFile.h"
#include "core/CheckedOutput.h"
#include "desktop/DesktopOpener.h"

namespace ponencias {

namespace {

StandardErrorFeedback& Fallback() {
    static StandardErrorFeedback fallback;
    return fallback;
}

ExportFeedback* installed = nullptr;

void Print(const QString& text) {
    const QByteArray line = text.toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

}  // namespace

ExportFeedback& CurrentExportFeedback() {
    return installed ? *installed : Fallback();
}

void SetExportFeedback(ExportFeedback* feedback) {
    installed = feedback;
}

QString SavedResultText(const QString& path) {
    return QStringLiteral(
               "No hay una aplicación que pueda mostrar el libro de resultados. El libro está "
               "guardado en:\n%1")
        .arg(QDir::toNativeSeparators(path));
}

QString WriteFailureText(const std::exception& error, const QString& file) {
    const auto* outputError = dynamic_cast<const OutputError*>(&error);
    return QStringLiteral("«%1»: %2")
        .arg(outputError ? outputError->target() : file,
             outputError ? outputError->reason() : QString::fromUtf8(error.what()));
}

void ExportFeedback::showSavedWorkbook(const QString& text, const QString&) {
    showInformation(text);
}

void StandardErrorFeedback::showNoRecords() {
    Print(QString::fromUtf8(kNoRecordsMessage));
}

void StandardErrorFeedback::showError(const QString& text) {
    Print(text);
}

void StandardErrorFeedback::showNotice(const QString& text) {
    Print(text);
}

void StandardErrorFeedback::showInformation(const QString& text) {
    Print(text);
}

bool StandardErrorFeedback::showWorkbook(const QString&) {
    return false;
}

DesktopSpreadsheets DetectExcel() {
    return DesktopHasApplicationFor({QString::fromLatin1(kTemplateMimeType)})
               ? DesktopSpreadsheets::Templates
           : DesktopHasApplicationFor({QString::fromLatin1(kWorkbookMimeType)})
               ? DesktopSpreadsheets::WorkbooksOnly
               : DesktopSpreadsheets::None;
}

namespace {

QString StoreFailureText(const StoreError& error) {
    return QStringLiteral(
               "No se pudieron leer las ponencias: el almacén de datos falló.\n\n"
               "Error %1: %2")
        .arg(error.number())
        .arg(error.description());
}

// Saves the finished workbook in the results folder, moves a workbook that the desktop opens by
// name to where the user keeps files, and hands it to the desktop.
void HandOver(ResultWorkbookFile& output, const ResultExportRun& run, DesktopSpreadsheets desktop,
              ExportFeedback& feedback) {
    XlsxWriteReport report;
    try {
        report = output.finish();
    } catch (const std::runtime_error& error) {
        const auto* outputError = dynamic_cast<const OutputError*>(&error);
        const QString file = outputError ? outputError->target() : output.path();
        feedback.showError(
            QStringLiteral("No se pudo guardar el libro de resultados%1: %2")
                .arg(file.isEmpty() ? QString() : QStringLiteral(" «%1»").arg(file),
                     outputError ? outputError->reason() : QString::fromUtf8(error.what())));
        return;
    }
    QString path = output.path();
    QString message;
    if (desktop == DesktopSpreadsheets::WorkbooksOnly) {
        // Opened by name, the workbook is what the user's save overwrites: it goes where a
        // save keeps it, or is not handed over.
        try {
            path = KeepResultFile(path);
        } catch (const std::runtime_error& error) {
            message = QStringLiteral(
                          "No se pudo guardar el libro de resultados %1. El libro está "
                          "guardado en:\n%2")
                          .arg(WriteFailureText(error, KeptResultsFolder()),
                               QDir::toNativeSeparators(path));
        }
    }
    if (desktop == DesktopSpreadsheets::None || !message.isEmpty() ||
        !feedback.showWorkbook(path)) {
        // Not a failure: the workbook is saved, and the user is told where.
        feedback.showSavedWorkbook(message.isEmpty() ? SavedResultText(path) : message, path);
    }
    if (const QString text = IncompleteWorkbookText(run, report); !text.isEmpty()) {
        feedback.showNotice(text);
    }
}

}  // namespace

void ExportResultSheet(const QString& queryText) {
    ExportResultSheetWithLimits(queryText, {});
}

void ExportResultSheetWithLimits(const QString& queryText, const ExportLimits& limits) {
    ExportFeedback& feedback = CurrentExportFeedback();
    const DesktopSpreadsheets desktop = DetectExcel();
    ResultWorkbookFile output = ResultWorkbookFile::InResultsFolder();
    // A template where the desktop opens templates: a spreadsheet application opens it as a new,
    // untitled workbook.
    const SpreadsheetFileKind kind = desktop == DesktopSpreadsheets::Templates
                                         ? SpreadsheetFileKind::Template
                                         : SpreadsheetFileKind::Workbook;
    const ResultExportRun run = RunResultExport(queryText, limits, kind, output);
    if (run.storeError) {
        // A workbook cut short by a failing store is not shown as if it were the result, and
        // leaves no file behind.
        feedback.showError(StoreFailureText(*run.storeError));
    } else if (run.empty) {
        feedback.showNoRecords();
    } else {
        HandOver(output, run, desktop, feedback);
    }
    output.discard();
}

}  // namespace ponencias
