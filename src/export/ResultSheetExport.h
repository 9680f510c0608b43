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

// What the desktop's applications take of the result: templates, which a spreadsheet
// application opens as a new, untitled workbook; workbooks only; or nothing at all.
enum class DesktopSpreadsheets { None, WorkbooksOnly, Templates };

// The desktop's spreadsheet application the result is handed to, as DetectExcel found it when
// the query window loaded or an export started; empty at start and after every export.
extern std::optional<DesktopSpreadsheets> SpreadsheetApp;

// Asks the desktop's associations (its desktop entries) for an application for templates, then
// for workbooks. Reads only the desktop entry folders and caches its answer for a while, so it
// is cheap to call before every export.
DesktopSpreadsheets DetectExcel();

// The last step of the query window's loading: the desktop's application found into
// SpreadsheetApp.
void ObtainSpreadsheetApplication();

// For tests: forget SpreadsheetApp and the cached desktop answer.
void ResetSpreadsheetApplicationsForTesting();

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

// What the saved workbook lacks, for the user; empty when it is complete.
QString IncompleteWorkbookText(const ResultExportRun& run, const XlsxWriteReport& report);

// Opens the store and the result of `queryText`; on failure the store is released and the
// StoreError passed on.
void OpenResult(const QString& queryText);
// Releases the store: nothing is left for the user to act on once the rows are read, so a
// failure here is not reported.
void ReleaseStoreQuietly();

}  // namespace ponencias
