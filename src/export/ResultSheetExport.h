#pragma once

#include <QString>
#include <array>
#include <optional>

#include "ResultSheetLayout.h"
#include "SpreadsheetFileKind.h"
#include "store/StoreError.h"

namespace ponencias {

class ResultFile;
struct XlsxWriteReport;

// The end of every search: runs the query text on the proposal store and writes the matching
// proposals into a new workbook (ResultSheetLayout) that the desktop's spreadsheet application
// shows, or tells the user that nothing matched (or that the store could not be read).
void ExportResultSheet(const QString& queryText);

// The sixteen header captions, at indices 1 to 16 (index 0 is unused).
extern std::array<QString, kResultColumns.size() + 1> HeaderCaptions;
// Writes the captions of kResultColumns into HeaderCaptions.
void FillHeaderCaptions();

// A sheet holds 1,048,576 rows: the header and this many proposals.
inline constexpr long kMaxDataRows = 1048575;

// Limits of one export; the defaults are those of the xlsx format.
struct ExportLimits {
    long maxDataRows = kMaxDataRows;
    int maxLinkRecords = 65530;
};
// The limits for a result of `rowsInResult` rows: one with more rows than the format's link
// records links every title by a HYPERLINK formula, so the whole sheet links one way, and the
// writer holds no per-link records (about 2 KB each in the xlsx library) while it packs the file.
ExportLimits LimitsForResult(const ExportLimits& limits, long rowsInResult);
// ExportResultSheet with other limits, so that their handling can be checked on small results.
void ExportResultSheetWithLimits(const QString& queryText, const ExportLimits& limits);

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
// needs the most memory). A failing store is returned, not thrown.
ResultExportRun RunResultExport(const QString& queryText, const ExportLimits& limits,
                                SpreadsheetFileKind kind, ResultFile& file);

QString StoreFailureText(const StoreError& error);
// What the saved workbook lacks, for the user; empty when it is complete.
QString IncompleteWorkbookText(const ResultExportRun& run, const XlsxWriteReport& report);

// Opens the store and the result of `queryText`; on failure the store is released and the
// StoreError passed on.
void OpenResult(const QString& queryText);
// Releases the store: nothing is left for the user to act on once the rows are read, so a
// failure here is not reported.
void ReleaseStoreQuietly();

}  // namespace ponencias
