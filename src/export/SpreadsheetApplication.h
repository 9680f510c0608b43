#pragma once

#include <QString>
#include <memory>

#include "Spreadsheet.h"

namespace ponencias {

// The spreadsheet application the export drives: empty at start, a new instance after the query
// window loads, the running application from the start of an export to its end, then empty.
extern std::shared_ptr<SpreadsheetApplication> SpreadsheetApp;
// The application's global object; created by the first step that needs it, then held for the
// rest of the run. It always acts on the running application.
extern std::unique_ptr<SpreadsheetGlobalObject> SpreadsheetGlobal;

// Whether the desktop has an application that opens workbooks (an xlsx handler among the
// desktop entries). Reads only the desktop entry folders and caches its answer for a while, so
// it is cheap to call before every export.
bool DetectExcel();
// The MIME type of the result workbook.
inline constexpr const char* kWorkbookMimeType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

// A new, hidden application instance.
std::shared_ptr<SpreadsheetApplication> CreateSpreadsheetApplication();
// The running application: the one last made visible. Throws SpreadsheetError when none runs.
std::shared_ptr<SpreadsheetApplication> RunningSpreadsheetApplication();
// SpreadsheetGlobal, created first if needed. Throws SpreadsheetError when no application runs.
SpreadsheetGlobalObject& GlobalObject();

// The last steps of the query window's loading: announce the spreadsheet application and
// create an instance of it into SpreadsheetApp. Failures are skipped silently.
void ObtainSpreadsheetApplication();

// For tests: forget the running application and the cached desktop answer.
void ResetSpreadsheetApplicationsForTesting();

}  // namespace ponencias
