#include "ResultSheetExport.h"

#include <QDir>
#include <QStringList>
#include <algorithm>

#include "ExportFeedback.h"
#include "ResultWorkbookFile.h"
#include "core/CheckedOutput.h"
#include "desktop/DesktopOpener.h"
#include "store/ProposalStore.h"
#include "store/Recordset.h"

namespace ponencias {

DesktopSpreadsheets DetectExcel() {
    return DesktopHasApplicationFor({QString::fromLatin1(kTemplateMimeType)})
               ? DesktopSpreadsheets::Templates
           : DesktopHasApplicationFor({QString::fromLatin1(kWorkbookMimeType)})
               ? DesktopSpreadsheets::WorkbooksOnly
               : DesktopSpreadsheets::None;
}

void ReleaseStoreQuietly() {
    try {
        ReleaseProposalStore();
    } catch (const std::exception&) {
        // Letting go of the store cannot leave anything for the user to act on.
    }
}

void OpenResult(const QString& queryText) {
    try {
        OpenProposalStore();
        ProposalRecordset->Open(queryText, *ProposalConnection);
    } catch (...) {
        ReleaseStoreQuietly();
        throw;
    }
}

namespace {

// The limits for a result of `rowsInResult` rows: one with more rows than the format's link
// records links every title by a HYPERLINK formula, so the whole sheet links one way, and the
// writer holds no per-link records (about 2 KB each in the xlsx library) while it packs the file.
ExportLimits LimitsForResult(const ExportLimits& limits, long rowsInResult) {
    ExportLimits result = limits;
    if (rowsInResult > limits.maxLinkRecords) {
        result.maxLinkRecords = 0;
    }
    return result;
}

// The rows of an opened, non-empty result, from its first, into `file`.
void WriteRows(Recordset& result, const ExportLimits& limits, SpreadsheetFileKind kind,
               ResultWorkbookFile& file, ResultExportRun& run) {
    result.MoveFirst();
    run.rowsInResult = result.RecordCount();
    const ExportLimits resultLimits = LimitsForResult(limits, run.rowsInResult);
    file.start({resultLimits.maxLinkRecords, kind});
    if (ResultSheetWriter* sheet = file.sheet()) {
        sheet->writeHeader();
    }
    ResultSheetWriter::Row fields;
    const long rows = std::min(run.rowsInResult, resultLimits.maxDataRows);
    for (long r = 1; r <= rows; ++r) {
        for (size_t i = 0; i < fields.size(); ++i) {
            fields[i] = result.text(int(i));
        }
        // A file that could not be started still has every row read, as the result asks.
        if (ResultSheetWriter* sheet = file.sheet()) {
            sheet->writeRow(fields);
        }
        run.rowsWritten = r;
        result.MoveNext();
    }
}

}  // namespace

ResultExportRun RunResultExport(const QString& queryText, const ExportLimits& limits,
                                SpreadsheetFileKind kind, ResultWorkbookFile& file) {
    ResultExportRun run;
    try {
        OpenResult(queryText);
        run.empty = ProposalRecordset->Bof() && ProposalRecordset->Eof();
        if (!run.empty) {
            WriteRows(*ProposalRecordset, limits, kind, file, run);
        }
    } catch (const StoreError& error) {
        run.storeError = error;
    } catch (...) {
        ReleaseStoreQuietly();
        throw;
    }
    ReleaseStoreQuietly();
    return run;
}

QString IncompleteWorkbookText(const ResultExportRun& run, const XlsxWriteReport& report) {
    QStringList parts;
    if (run.rowsInResult > run.rowsWritten) {
        parts << QStringLiteral(
                     "La consulta encontró %1 ponencias, pero una hoja de cálculo admite como "
                     "máximo %2 filas de datos. El libro contiene las primeras %2; las %3 "
                     "restantes no se escribieron.")
                     .arg(run.rowsInResult)
                     .arg(run.rowsWritten)
                     .arg(run.rowsInResult - run.rowsWritten);
    }
    const auto rowList = [](const std::vector<int>& rows) {
        QStringList numbers;
        for (size_t i = 0; i < rows.size() && i < 20; ++i) {
            numbers << QString::number(rows[i]);
        }
        if (rows.size() > 20) {
            numbers << QStringLiteral("… (%1 en total)").arg(rows.size());
        }
        return numbers.join(QStringLiteral(", "));
    };
    if (!report.rowsWithoutLink.empty()) {
        parts << QStringLiteral("El título de estas filas no lleva vínculo a su documento: %1.")
                     .arg(rowList(report.rowsWithoutLink));
    }
    if (!report.rowsWithCutText.empty()) {
        parts << QStringLiteral(
                     "Estas filas tienen textos de más de 32767 caracteres, lo más que cabe en "
                     "una celda; se escribieron sus primeros 32767: %1.")
                     .arg(rowList(report.rowsWithCutText));
    }
    return parts.join(QStringLiteral("\n\n"));
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
