#pragma once

#include <QString>
#include <optional>

#include "ResultSheetExportSteps.h"
#include "SpreadsheetFileKind.h"
#include "store/StoreError.h"

namespace ponencias {

class ResultFile;
class SheetSteps;

// What one export of a search result came to.
struct ResultExportRun {
    bool empty = false;                    // nothing matched: no workbook was added
    std::optional<StoreError> storeError;  // the store failed, opening the result or reading it
    FilledSheet filled;
};

// The flow every export of a search result follows, the program's and the companion's: the
// store and the result of `queryText` are opened; unless the result is empty, its rows fill a
// new workbook of the steps' application (FillResultSheet), streamed into `file` (a file of
// `kind`) as the sheet fills, within the limits for the result's size; then, whatever happened,
// the final view and the quiet release of the store, before the caller finishes the file (its
// packing needs the most memory). A failing store is returned, not thrown.
ResultExportRun RunResultExport(SheetSteps& steps, const QString& queryText,
                                const ExportLimits& limits, SpreadsheetFileKind kind,
                                ResultFile& file);

// Opens the store and the result of `queryText`; on failure the store is released and the
// StoreError passed on.
void OpenResult(const QString& queryText);
// Releases the store: nothing is left for the user to act on once the rows are read, so a
// failure here is not reported.
void ReleaseStoreQuietly();

}  // namespace ponencias
