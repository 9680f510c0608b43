#pragma once

#include <optional>

#include "SpreadsheetFileKind.h"

namespace ponencias {

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
// The kind of file the result is handed over as: a template where the desktop opens templates,
// otherwise a workbook.
SpreadsheetFileKind ResultFileKind(DesktopSpreadsheets desktop);

// The last step of the query window's loading: the desktop's application found into
// SpreadsheetApp.
void ObtainSpreadsheetApplication();

// For tests: forget SpreadsheetApp and the cached desktop answer.
void ResetSpreadsheetApplicationsForTesting();

}  // namespace ponencias
