#include "ResultFiles.h"

#include <QIODevice>
#include <stdexcept>

#include "CsvWriter.h"
#include "ExportFeedback.h"
#include "ResultSheetExportSteps.h"
#include "ResultSheetFormatting.h"
#include "XlsxOutput.h"
#include "store/ProposalStore.h"
#include "store/StoreError.h"

namespace ponencias {

namespace {

void ReleaseQuietly() {
    try {
        ReleaseProposalStore();
    } catch (const std::exception&) {
        // Nothing left to act on once the rows are read.
    }
}

// Opens the store and the result of `queryText`; on failure the store is released and the
// StoreError passed on.
void OpenResult(const QString& queryText) {
    try {
        OpenProposalStore();
        ProposalRecordset->Open(queryText, *ProposalConnection, adOpenDynamic, adLockOptimistic);
    } catch (...) {
        ReleaseQuietly();
        throw;
    }
}

}  // namespace

long WriteResultWorkbook(const QString& queryText, const QString& path) {
    OpenResult(queryText);
    if (ProposalRecordset->Bof() && ProposalRecordset->Eof()) {
        ReleaseQuietly();
        return 0;
    }
    // A private application: the companion shows nothing and leaves the program's slots alone.
    auto application = std::make_shared<SpreadsheetApplication>(false);
    SpreadsheetGlobalObject global([&]() -> SpreadsheetApplication& { return *application; });
    SheetSteps steps([&]() -> SpreadsheetApplication& { return *application; },
                     [&]() -> SpreadsheetGlobalObject& { return global; });
    FilledSheet filled;
    const ExportLimits limits = LimitsForResult(ExportLimits(), ProposalRecordset->RecordCount());
    // Written while the sheet fills (declared after the application, so let go before it).
    std::unique_ptr<XlsxSheetWriter> writer;
    try {
        FillResultSheet(steps, *ProposalRecordset, limits, filled, [&](Worksheet& sheet) {
            try {
                writer = std::make_unique<XlsxSheetWriter>(sheet, path,
                                                           XlsxWriteOptions{limits.maxLinkRecords});
            } catch (const SpreadsheetError&) {
                // The sheet keeps every row and is written at the end, which reports the failure.
            }
        });
    } catch (...) {
        ReleaseQuietly();
        throw;
    }
    ApplyFinalView(steps);
    ReleaseQuietly();
    if (!filled.workbook) {
        throw SpreadsheetError("no se pudo crear el libro");
    }
    const XlsxWriteReport report =
        writer ? writer->finish()
               : WriteXlsx(filled.workbook->activeSheet(), path, {limits.maxLinkRecords});
    if (const QString text = IncompleteWorkbookText(filled, report); !text.isEmpty()) {
        StandardErrorFeedback().showNotice(text);
    }
    return filled.rowsWritten;
}

long WriteResultCsv(const QString& queryText, QIODevice& out) {
    OpenResult(queryText);
    CsvWriter writer(out);
    QStringList record;
    QStringList names;
    for (const ResultColumn& column : kResultColumns) {
        record << QString::fromUtf8(column.caption);
        names << QString::fromLatin1(column.field);
    }
    const auto write = [&] {
        if (!writer.writeRecord(record)) {
            ReleaseQuietly();
            throw std::runtime_error("no se pudo escribir el CSV: " +
                                     out.errorString().toStdString());
        }
    };
    write();
    long count = 0;
    try {
        ProposalRecordset->MoveFirst();
        while (!ProposalRecordset->Bof() && !ProposalRecordset->Eof()) {
            for (qsizetype i = 0; i < names.size(); ++i) {
                record[i] = ProposalRecordset->Fields(names[i]).Text();
            }
            write();
            ++count;
            ProposalRecordset->MoveNext();
        }
    } catch (const StoreError&) {
        ReleaseQuietly();
        throw;
    }
    ReleaseQuietly();
    return count;
}

}  // namespace ponencias
