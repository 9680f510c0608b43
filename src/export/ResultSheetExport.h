#pragma once

#include <QString>
#include <optional>

#include "ResultSheetLayout.h"
#include "SpreadsheetFileKind.h"
#include "store/StoreError.h"

namespace ponencias {

class ResultWorkbookFile;
struct XlsxWriteReport;

// A sheet holds 1,048,576 rows: the header and this many proposals.
inline constexpr long kMaxDataRows = 1048575;

// Limits of one export; the defaults are those of the xlsx format.
struct ExportLimits {
    long maxDataRows = kMaxDataRows;
    int maxLinkRecords = 65530;
};

// What one export of a search result came to.
struct ResultExportRun {
    bool empty = false;                    // nothing matched: no file was started
    std::optional<StoreError> storeError;  // the store failed, opening the result or reading it
    long rowsInResult = 0;
    long rowsWritten = 0;
};

// The flow every export of a search result follows, the program's and the companion's: the
// store and the result of `queryText` are opened; unless the result is empty, `file` is started
// (a file of `kind`) and gets the header and one row per proposal, within the limits for the
// result's size; then the store is let go, before the caller finishes the file (its packing
// needs the most memory). A failing store is returned, not thrown. The result's columns are read
// by position: `queryText` selects the fields of kResultColumns first, in their order, as the
// search's select list does.
ResultExportRun RunResultExport(const QString& queryText, const ExportLimits& limits,
                                SpreadsheetFileKind kind, ResultWorkbookFile& file);

// What the saved workbook lacks, for the user; empty when it is complete.
QString IncompleteWorkbookText(const ResultExportRun& run, const XlsxWriteReport& report);

// Opens the store and the result of `queryText`; on failure the store is released and the
// StoreError passed on.
void OpenResult(const QString& queryText);
// Releases the store: nothing is left for the user to act on once the rows are read, so a
// failure here is not reported.
void ReleaseStoreQuietly();

}  // namespace ponencias
