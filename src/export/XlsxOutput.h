#pragma once

#include <QString>
#include <vector>

#include "Spreadsheet.h"

namespace ponencias {

struct XlsxWriteOptions {
    // The xlsx format keeps at most this many link records per sheet; later links become
    // HYPERLINK() formulas that show the same text and open the same address.
    int maxLinkRecords = 65530;
};

// What the file could not hold exactly, for the user to be told.
struct XlsxWriteReport {
    long linksAsFormulas = 0;
    std::vector<int> rowsWithoutLink;  // the link could not be written in any form
    std::vector<int> rowsWithCutText;  // a text longer than a cell holds (32,767 characters)
};

// Writes the worksheet as a one-sheet xlsx file at `path`, every cell with its effective format.
// Throws SpreadsheetError, naming the reason, when the file cannot be written.
XlsxWriteReport WriteXlsx(const Worksheet& sheet, const QString& path,
                          const XlsxWriteOptions& options = {});

}  // namespace ponencias
