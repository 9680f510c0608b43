#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace ponencias::test {

// A written workbook read back from its zip parts, as a spreadsheet application would see its
// first sheet: cell values, each cell's effective style, rows, columns, links and the view.
struct XlsxCell {
    QString type;   // "s", "inlineStr", "str", "n" (also for an absent t), "b"
    QString value;  // the text or the number as written
    QString formula;
    int style = 0;
};

struct XlsxSheet {
    QMap<std::pair<int, int>, XlsxCell> cells;  // (row, column), 1-based
    struct Row {
        double height = 0;
        bool customHeight = false;
        int style = -1;
    };
    QMap<int, Row> rows;
    struct Column {
        int min, max;
        double width;
        int style;
    };
    std::vector<Column> columns;
    QMap<std::pair<int, int>, QString> links;  // cell -> target
    QStringList styles;  // each cell format's font, fill, borders, alignment and number format
    QString paneState, paneTopLeft;
    double paneYSplit = 0, paneXSplit = 0;
    QString activeCell, selectedRange;

    int maxRow() const;
    // The cell points into this sheet, so a sheet that is about to go cannot be asked.
    const XlsxCell* cell(int row, int column) const&;
    const XlsxCell* cell(int row, int column) const&& = delete;
    QString text(int row, int column) const;
};

// Throws std::runtime_error when the file is not a readable workbook.
XlsxSheet ReadXlsx(const QString& path);
// The sheet as lines of text that say everything a reader sees, styles by their content rather
// than their number: the columns, each row's height and style, each cell's type, value, formula
// and style, the links, the frozen pane and the selection. Two sheets that look alike in a
// spreadsheet application give the same lines.
QStringList CanonicalDump(const XlsxSheet& sheet);
// One part of the zip, for checks on the raw XML.
QByteArray ReadZipPart(const QString& path, const QString& part);
// Every entry of the zip in the archive's order: its name and its bytes as stored (compressed,
// when `stored`), so two files can be compared part for part.
std::vector<std::pair<QString, QByteArray>> ReadZipEntries(const QString& path, bool stored);

}  // namespace ponencias::test
