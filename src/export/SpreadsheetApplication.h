#pragma once

#include <QString>
#include <memory>

#include "Spreadsheet.h"
#include "SpreadsheetFileKind.h"

namespace ponencias {

// The spreadsheet application the export drives: empty at start, a new instance after the query
// window loads, the running application from the start of an export to its end, then empty.
extern std::shared_ptr<SpreadsheetApplication> SpreadsheetApp;
// The application's global object; created by the first step that needs it, then held for the
// rest of the run. It always acts on the running application.
extern std::unique_ptr<SpreadsheetGlobalObject> SpreadsheetGlobal;

// What the desktop's applications take of the result: templates, which a spreadsheet
// application opens as a new, untitled workbook; workbooks only; or nothing at all.
enum class DesktopSpreadsheets { None, WorkbooksOnly, Templates };
// Asks the desktop's associations (its desktop entries) for an application for templates, then
// for workbooks. Reads only the desktop entry folders and caches its answer for a while, so it
// is cheap to call before every export.
DesktopSpreadsheets DetectExcel();
// The kind of file the result is handed over as: a template where the desktop opens templates,
// otherwise a workbook.
SpreadsheetFileKind ResultFileKind(DesktopSpreadsheets desktop);

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
