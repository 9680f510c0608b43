#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "Spreadsheet.h"
#include "SpreadsheetFileKind.h"

namespace ponencias {

struct XlsxWriteOptions {
    // The xlsx format keeps at most this many link records per sheet; later links become
    // HYPERLINK() formulas that show the same text and open the same address.
    int maxLinkRecords = 65530;
    // A template is the same file with its main part's content type changed once it is written.
    SpreadsheetFileKind kind = SpreadsheetFileKind::Workbook;
};

// What the file could not hold exactly, for the user to be told.
struct XlsxWriteReport {
    long linksAsFormulas = 0;
    std::vector<int> rowsWithoutLink;  // the link could not be written in any form
    std::vector<int> rowsWithCutText;  // a text longer than a cell holds (32,767 characters)
};

// Writes the worksheet as a one-sheet xlsx file at `path`, every cell with its effective format.
// The file is written under a temporary name beside `path` and put in place only when complete
// (FileReplacement): a failure leaves nothing, and a file already at `path` keeps its content.
// Throws OutputError (path and the system's reason) when the file cannot be written,
// SpreadsheetError when the library fails otherwise.
XlsxWriteReport WriteXlsx(const Worksheet& sheet, const QString& path,
                          const XlsxWriteOptions& options = {});

// The same file written while the sheet is being filled: the writer is the sheet's row sink, so
// each row goes to the file as soon as the sheet has moved past it and is let go, and finish()
// writes the rest. The result is the file WriteXlsx would write at that point. The sheet must
// outlive the writer. Nothing is created at `path` before finish() succeeds.
class XlsxSheetWriter final : public RowSink {
public:
    // Throws OutputError when the file cannot be started (no folder, no permission).
    XlsxSheetWriter(Worksheet& sheet, const QString& path, const XlsxWriteOptions& options = {});
    // An unfinished file is abandoned: nothing is written at `path`.
    ~XlsxSheetWriter() override;
    Q_DISABLE_COPY(XlsxSheetWriter)

    void rowsComplete(int lastRow) override;
    // Writes the rows not written yet, the columns and the view, and closes the file; the sheet
    // keeps every later row in memory again. Throws as WriteXlsx does.
    XlsxWriteReport finish();

    class Impl;

private:
    Worksheet* sheet_;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ponencias
