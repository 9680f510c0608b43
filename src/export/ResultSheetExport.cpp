#include "ResultSheetExport.h"

#include <QStringList>
#include <algorithm>

#include "ResultWorkbookFile.h"
#include "store/ProposalStore.h"
#include "store/Recordset.h"

namespace ponencias {

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

}  // namespace ponencias
