#pragma once

#include <QString>

namespace ponencias {

// The end of every search: runs the query text on the proposal store and writes the matching
// proposals into a new, formatted workbook that the desktop's spreadsheet application shows, or
// tells the user that nothing matched.
void ExportResultSheet(const QString& queryText);

}  // namespace ponencias
