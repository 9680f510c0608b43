#pragma once

#include <QString>
#include <functional>

#include "ResultSheetExport.h"

namespace ponencias {

class Recordset;
class SheetSteps;
class StoreError;
class Workbook;
class Worksheet;
struct XlsxWriteReport;

// What filling a result sheet gave: the workbook it added (null when adding failed), the rows of
// the result and the rows written.
struct FilledSheet {
    Workbook* workbook = nullptr;
    long rowsInResult = 0;
    long rowsWritten = 0;
};

// From the first row of an opened, non-empty result to its last written row: the application
// made visible, a workbook added, the header, the layout and one row per proposal. Spreadsheet
// steps that fail are skipped; a failing store throws StoreError (`filled` says how far it got).
// `workbookAdded` gets the new sheet before anything is written to it (to start its file).
void FillResultSheet(SheetSteps& steps, Recordset& result, const ExportLimits& limits,
                     FilledSheet& filled,
                     const std::function<void(Worksheet&)>& workbookAdded = {});

QString StoreFailureText(const StoreError& error);
// What the saved workbook lacks, for the user; empty when it is complete.
QString IncompleteWorkbookText(const FilledSheet& filled, const XlsxWriteReport& report);

}  // namespace ponencias
