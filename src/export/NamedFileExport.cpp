#include "NamedFileExport.h"

#include <QIODevice>
#include <cstdio>
#include <stdexcept>

#include "CsvWriter.h"
#include "ResultSheetExport.h"
#include "ResultWorkbookFile.h"
#include "store/ProposalStore.h"
#include "store/StoreError.h"

namespace ponencias {

long WriteResultWorkbook(const QString& queryText, const QString& path) {
    // The companion shows nothing: the file is all it makes.
    ResultWorkbookFile file = ResultWorkbookFile::At(path);
    const ResultExportRun run =
        RunResultExport(queryText, ExportLimits(), SpreadsheetFileKind::Workbook, file);
    if (run.storeError) {
        throw *run.storeError;
    }
    if (run.empty) {
        return 0;
    }
    const XlsxWriteReport report = file.finish();
    if (const QString text = IncompleteWorkbookText(run, report); !text.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    return run.rowsWritten;
}

long WriteResultCsv(const QString& queryText, QIODevice& out) {
    OpenResult(queryText);
    CsvWriter writer(out);
    QStringList record;
    for (const ResultColumn& column : kResultColumns) {
        record << QString::fromUtf8(column.caption);
    }
    // Last, what the sheet's title links give: the document's address.
    record << QString::fromUtf8(kDocumentAddressCaption);
    const auto write = [&] {
        if (!writer.writeRecord(record)) {
            ReleaseStoreQuietly();
            throw std::runtime_error("no se pudo escribir el CSV: " +
                                     out.errorString().toStdString());
        }
    };
    write();
    long count = 0;
    try {
        ProposalRecordset->MoveFirst();
        while (!ProposalRecordset->Bof() && !ProposalRecordset->Eof()) {
            // The fields of kResultColumns, by position as the sheet reads them.
            for (int i = 0; i < int(kResultColumns.size()); ++i) {
                record[i] = ValueText(ProposalRecordset->value(i));
            }
            const QString& folio = record[0];
            record.last() = IsUnlinkedFolio(folio) ? QString() : DocumentAddress(folio);
            write();
            ++count;
            ProposalRecordset->MoveNext();
        }
    } catch (const StoreError&) {
        ReleaseStoreQuietly();
        throw;
    }
    ReleaseStoreQuietly();
    return count;
}

}  // namespace ponencias
