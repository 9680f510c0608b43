#pragma once

#include <QString>
#include <array>
#include <vector>

#include "ResultSheetLayout.h"
#include "SpreadsheetFileKind.h"
#include "core/CheckedOutput.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

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
    std::vector<int> rowsWithoutLink;  // the link could not be written in any form
    std::vector<int> rowsWithCutText;  // a text longer than a cell holds (32,767 characters)
};

// The result sheet of ResultSheetLayout written with libxlsxwriter as a one-sheet xlsx file: the
// header, then each proposal's row as it is given. The rows go to the library's temporary file
// as they come (its constant-memory mode), so a result of any size needs little memory. The file
// is written under a temporary name beside `path` and put in place by finish() only when
// complete (FileReplacement): until then nothing is made at `path`, and a file already there keeps
// its content. Texts are written as they are, never as formulas; a text of 1 to 15 decimal digits
// without a leading zero is written as the number it spells.
class ResultSheetWriter {
public:
    // The fields' texts in UTF-8, as the store reads them.
    using Row = std::array<QByteArray, kResultColumns.size()>;

    // Throws OutputError when the file cannot be started (no folder, no permission),
    // SpreadsheetError when the library fails otherwise.
    ResultSheetWriter(const QString& path, const XlsxWriteOptions& options = {});
    // An unfinished file is abandoned: nothing is written at `path`.
    ~ResultSheetWriter();
    Q_DISABLE_COPY(ResultSheetWriter)

    // Row 1: the captions of kResultColumns.
    void writeHeader();
    // The next data row: the fields of kResultColumns, in its order.
    void writeRow(const Row& fields);
    // The columns and the view, then the file closed and put in place. Throws OutputError (the
    // path and the system's reason) when it cannot be written, SpreadsheetError when the library
    // failed otherwise; nothing is left at `path` then.
    XlsxWriteReport finish();

private:
    lxw_format* format(const CellFormat& look);
    // The title of the current row, linked to `address`.
    void writeLink(int column, const QString& address, const QByteArray& text);
    QByteArray fileText(const QByteArray& text);
    void check(int error);

    FileReplacement file_;
    XlsxWriteOptions options_;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    std::array<lxw_format*, kResultColumns.size()> dataFormats_{};
    lxw_format* linkFormat_ = nullptr;
    lxw_format* dataRowFormat_ = nullptr;
    int row_ = 0;  // the sheet's last written row, 0-based
    int linkRecords_ = 0;
    int failure_ = 0;  // the library's first error code
    XlsxWriteReport report_;
};

}  // namespace ponencias
