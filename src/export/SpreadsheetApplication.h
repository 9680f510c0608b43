#pragma once

namespace ponencias {

// The last steps of the query window's loading: announce the spreadsheet application and
// create an instance of it into SpreadsheetApp. Failures are skipped silently.
void ObtainSpreadsheetApplication();

}  // namespace ponencias
