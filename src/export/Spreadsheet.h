#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "SheetFormat.h"

namespace ponencias {

// An in-process spreadsheet with the members the export drives: an application holding
// workbooks, worksheets of cells, ranges that are selected and formatted, links and a frozen
// pane. The look of every cell is kept as the ordered operations made on it (FormatLog), and the
// finished workbook is written out as an xlsx file (XlsxOutput.h).

// Values over intervals of rows or columns where the last assignment wins.
class IntervalValues {
public:
    void assign(int first, int last, double value);
    // The value at `index`, or `fallback` where nothing was assigned.
    double at(int index, double fallback) const;
    // Calls `each(first, last, value)` for every assigned stretch, in order.
    void forEach(const std::function<void(int, int, double)>& each) const;
    bool empty() const { return starts_.empty(); }

private:
    // start -> (end, value); the stretches never overlap.
    std::map<int, std::pair<int, double>> starts_;
};

// Where a worksheet hands the rows it has moved past (XlsxOutput.h writes them to the file).
class RowSink {
public:
    virtual ~RowSink() = default;
    // Rows up to `lastRow` are final: write them out. They stay readable until this returns.
    virtual void rowsComplete(int lastRow) = 0;
};

class Worksheet {
public:
    enum class CellKind : uint8_t { Empty, Text, Number };
    struct Cell {
        QString text;  // a number keeps the text it was entered as
        uint32_t patch = 0;
        CellKind kind = CellKind::Empty;
        bool linked = false;
    };

    explicit Worksheet(QString name) : name_(std::move(name)) {}

    const QString& name() const { return name_; }

    // A cell's value set as text, exactly.
    void setValue(int row, int column, const QString& text);
    // A text entered as if typed: a text of 1 to 15 decimal digits without a leading zero
    // becomes a number; every other text, including one that starts with "=", is kept as text,
    // exactly. (The sheet never evaluates an entry, so data can never turn into a formula.)
    void setEntry(int row, int column, const QString& text);
    void format(const CellRect& range, CellProperty property, int32_t value);
    void setRowHeight(int first, int last, double points);
    void setColumnWidth(int first, int last, double characters);
    // Each column of `range` that holds text in `range` becomes as wide as its widest text in
    // that cell's font; columns with no text keep their width.
    void autoFitColumns(const CellRect& range);
    void addLink(int row, int column, const QString& address, const QString& textToDisplay);
    void freezePanes(int row, int column);  // the first unfrozen row and column
    void select(const CellRect& range) { selection_ = range; }

    // Rows are written in order and a result sheet is filled top to bottom, so once a cell of a
    // later row is touched, every row above it is final. With a sink, those rows are handed to
    // it and let go, which keeps only the rows being filled in memory. A written row cannot
    // change any more: a step that would change one (a cell, a format or a height over it, a fit
    // that would read it) is refused with SpreadsheetError, so the file never disagrees with
    // "the last operation covering a cell wins". The export makes every range operation before
    // its first data row, so it is never refused. Null stops handing rows over.
    void setRowSink(RowSink* sink) { sink_ = sink; }
    // Rows 1 to writtenRows() have gone to the sink.
    int writtenRows() const { return writtenRows_; }

    // The last row that a cell was touched in.
    int usedRows() const { return usedRows_; }
    int usedColumns(int row) const;
    // Null where the cell was never touched (or its row has been written out).
    const Cell* cell(int row, int column) const;
    // The link of a cell whose `linked` is set.
    const QString& linkAddress(int row, int column) const;
    const FormatLog& formats() const { return formats_; }
    ResolvedFormat resolvedFormat(int row, int column) const;
    // Font names are interned; a FontName property holds an index into this list.
    const QString& fontName(int32_t index) const { return fontNames_[size_t(index)]; }
    int32_t fontIndex(const QString& name);
    const IntervalValues& rowHeights() const { return rowHeights_; }
    const IntervalValues& columnWidths() const { return columnWidths_; }
    const CellRect& selection() const { return selection_; }
    bool hasFrozenPanes() const { return frozenRow_ > 1 || frozenColumn_ > 1; }
    int frozenRow() const { return frozenRow_; }
    int frozenColumn() const { return frozenColumn_; }

private:
    Cell& touch(int row, int column);
    // Refuses a change to rows from `firstRow` on when some of them are written already.
    void requireUnwritten(int firstRow) const;

    QString name_;
    // Rows firstHeldRow_ … usedRows_; rows above were written out.
    std::deque<std::vector<Cell>> rows_;
    int firstHeldRow_ = 1;
    int usedRows_ = 0;
    RowSink* sink_ = nullptr;
    int writtenRows_ = 0;
    FormatLog formats_;
    std::vector<QString> fontNames_;
    int32_t linkFont_ = -1;
    IntervalValues rowHeights_;
    IntervalValues columnWidths_;
    std::map<std::pair<int, int>, QString> links_;  // of the held rows
    CellRect selection_;
    int frozenRow_ = 1;
    int frozenColumn_ = 1;
};

class Workbook {
public:
    Workbook();
    Worksheet& activeSheet() { return *sheets_.front(); }
    const Worksheet& activeSheet() const { return *sheets_.front(); }

private:
    std::vector<std::unique_ptr<Worksheet>> sheets_;
};

class SheetRange;

// Font of a range: Name, Size, Bold, ColorIndex.
class RangeFont {
public:
    explicit RangeFont(Worksheet* sheet, CellRect range) : sheet_(sheet), range_(range) {}
    void Name(const QString& name);
    void Size(double points);
    void Bold(bool bold);
    void ColorIndex(int colorIndex);

private:
    Worksheet* sheet_;
    CellRect range_;
};

class RangeBorders {
public:
    explicit RangeBorders(Worksheet* sheet, CellRect range) : sheet_(sheet), range_(range) {}
    void LineStyle(int lineStyle);

private:
    Worksheet* sheet_;
    CellRect range_;
};

class RangeInterior {
public:
    explicit RangeInterior(Worksheet* sheet, CellRect range) : sheet_(sheet), range_(range) {}
    void ColorIndex(int colorIndex);

private:
    Worksheet* sheet_;
    CellRect range_;
};

class RangeColumns {
public:
    explicit RangeColumns(Worksheet* sheet, CellRect range) : sheet_(sheet), range_(range) {}
    void AutoFit();

private:
    Worksheet* sheet_;
    CellRect range_;
};

// A cell or a block of cells of a worksheet: what Cells(r, c), Rows(..), Columns(..), Range(..)
// and Selection give.
class SheetRange {
public:
    SheetRange(Worksheet* sheet, CellRect range) : sheet_(sheet), range_(range) {}

    const CellRect& rect() const { return range_; }
    void Select();
    void Value(const QString& text);
    void Formula(const QString& text);
    RangeBorders Borders() const { return RangeBorders(sheet_, range_); }
    RangeInterior Interior() const { return RangeInterior(sheet_, range_); }
    RangeFont Font() const { return RangeFont(sheet_, range_); }
    RangeColumns Columns() const { return RangeColumns(sheet_, range_); }
    void HorizontalAlignment(int alignment);
    void VerticalAlignment(int alignment);
    void RowHeight(double points);
    void ColumnWidth(double characters);
    void WrapText(bool wrap);
    void Orientation(int degrees);
    void AddIndent(bool addIndent);
    void IndentLevel(int level);
    void ShrinkToFit(bool shrink);
    void ReadingOrder(int order);
    void MergeCells(bool merge);

private:
    friend class SheetHyperlinks;
    Worksheet* sheet_;
    CellRect range_;
};

class SheetHyperlinks {
public:
    explicit SheetHyperlinks(Worksheet* sheet) : sheet_(sheet) {}
    // The anchor's first cell shows `textToDisplay` in the link style and opens `address`.
    void Add(const SheetRange& anchor, const QString& address, const QString& textToDisplay);

private:
    Worksheet* sheet_;
};

class ActiveSheetObject {
public:
    explicit ActiveSheetObject(Worksheet* sheet) : sheet_(sheet) {}
    SheetRange Range(const QString& reference) const;
    SheetHyperlinks Hyperlinks() const { return SheetHyperlinks(sheet_); }

private:
    Worksheet* sheet_;
};

class ActiveWindowObject {
public:
    explicit ActiveWindowObject(Worksheet* sheet) : sheet_(sheet) {}
    // Freezes the rows above and the columns left of the selection's first cell.
    void FreezePanes(bool freeze);

private:
    Worksheet* sheet_;
};

class SpreadsheetApplication;

class WorkbookCollection {
public:
    explicit WorkbookCollection(SpreadsheetApplication* app) : app_(app) {}
    // A new workbook with one sheet, which becomes the active workbook.
    Workbook& Add();
    // Lets a workbook go (once its file has been handed to the desktop).
    void Close(Workbook* workbook);
    int Count() const { return int(workbooks_.size()); }

private:
    friend class SpreadsheetApplication;
    SpreadsheetApplication* app_;
    std::vector<std::unique_ptr<Workbook>> workbooks_;
};

class SpreadsheetApplication : public std::enable_shared_from_this<SpreadsheetApplication> {
public:
    // An application that `registers` becomes the running one when made visible; a private one
    // (the command-line companion's) never does.
    explicit SpreadsheetApplication(bool registers = true)
        : registers_(registers), workbooks_(this) {}
    Q_DISABLE_COPY(SpreadsheetApplication)

    // A visible application is the running one that a later lookup finds.
    void Visible(bool visible);
    bool isVisible() const { return visible_; }
    WorkbookCollection& Workbooks() { return workbooks_; }
    // The cell of the active sheet. Throws SpreadsheetError when no workbook is open.
    SheetRange Cells(int row, int column);

    Workbook* activeWorkbook() { return active_; }
    Worksheet& activeSheet();

private:
    friend class WorkbookCollection;
    bool registers_;
    bool visible_ = false;
    WorkbookCollection workbooks_;
    Workbook* active_ = nullptr;
};

// The application's global object: members used without an owning object, acting on the active
// sheet, window and selection of the application it leads to.
class SpreadsheetGlobalObject {
public:
    // `application` gives the application at each call; it throws SpreadsheetError when there is
    // none.
    explicit SpreadsheetGlobalObject(std::function<SpreadsheetApplication&()> application)
        : application_(std::move(application)) {}

    SheetRange Cells();
    SheetRange Rows(const QString& span);
    SheetRange Columns(const QString& span);
    SheetRange Range(const QString& reference);
    SheetRange Selection();
    ActiveSheetObject ActiveSheet();
    ActiveWindowObject ActiveWindow();

private:
    Worksheet& sheet() { return application_().activeSheet(); }
    std::function<SpreadsheetApplication&()> application_;
};

// The font the link style gives a linked cell before the export sets the sheet font again.
inline constexpr const char* kLinkStyleFontName = "Calibri";
inline constexpr int32_t kLinkStyleColor = 0x0563C1;

}  // namespace ponencias
