#include "Spreadsheet.h"

#include <algorithm>
#include <cmath>

#include "TextMeasure.h"

namespace ponencias {

namespace {

void CheckCell(int row, int column) {
    if (row < 1 || row > kSheetRows || column < 1 || column > kSheetColumns) {
        throw SpreadsheetError("celda fuera de la hoja");
    }
}

bool IsPlainNumberText(const QString& text) {
    if (text.isEmpty() || text.size() > 15 || text.front() == QLatin1Char('0')) {
        return false;
    }
    return std::all_of(text.begin(), text.end(),
                       [](QChar ch) { return ch >= QLatin1Char('0') && ch <= QLatin1Char('9'); });
}

int32_t Switch(bool on) {
    return on ? 1 : 0;
}

}  // namespace

void IntervalValues::assign(int first, int last, double value) {
    // Cut the stretches that overlap [first, last], keep their outside parts, then insert.
    auto it = starts_.upper_bound(first);
    if (it != starts_.begin()) {
        --it;
    }
    std::vector<std::pair<int, std::pair<int, double>>> keep;
    while (it != starts_.end() && it->first <= last) {
        const int start = it->first;
        const auto [end, old] = it->second;
        if (end < first) {
            ++it;
            continue;
        }
        if (start < first) {
            keep.push_back({start, {first - 1, old}});
        }
        if (end > last) {
            keep.push_back({last + 1, {end, old}});
        }
        it = starts_.erase(it);
    }
    for (const auto& piece : keep) {
        starts_.insert(piece);
    }
    starts_[first] = {last, value};
}

double IntervalValues::at(int index, double fallback) const {
    auto it = starts_.upper_bound(index);
    if (it == starts_.begin()) {
        return fallback;
    }
    --it;
    return index <= it->second.first ? it->second.second : fallback;
}

void IntervalValues::forEach(const std::function<void(int, int, double)>& each) const {
    for (const auto& [start, stretch] : starts_) {
        each(start, stretch.first, stretch.second);
    }
}

Worksheet::Cell& Worksheet::touch(int row, int column) {
    CheckCell(row, column);
    requireUnwritten(row);
    if (row > usedRows_) {
        if (sink_ && usedRows_ > writtenRows_) {
            // The sheet moves on to a later row: the rows above it are final.
            sink_->rowsComplete(row - 1);
            writtenRows_ = row - 1;
            rows_.clear();
            firstHeldRow_ = row;
            links_.clear();
        }
        rows_.resize(size_t(row - firstHeldRow_ + 1));
        usedRows_ = row;
    }
    auto& cells = rows_[size_t(row - firstHeldRow_)];
    if (size_t(column) > cells.size()) {
        cells.resize(size_t(column));
    }
    return cells[size_t(column) - 1];
}

void Worksheet::requireUnwritten(int firstRow) const {
    if (firstRow <= writtenRows_) {
        throw SpreadsheetError("la fila ya está escrita en el libro");
    }
}

const Worksheet::Cell* Worksheet::cell(int row, int column) const {
    if (row < firstHeldRow_ || row > usedRows_) {
        return nullptr;
    }
    const auto& cells = rows_[size_t(row - firstHeldRow_)];
    return column >= 1 && size_t(column) <= cells.size() ? &cells[size_t(column) - 1] : nullptr;
}

const QString& Worksheet::linkAddress(int row, int column) const {
    static const QString none;
    auto found = links_.find({row, column});
    return found != links_.end() ? found->second : none;
}

int Worksheet::usedColumns(int row) const {
    return row >= firstHeldRow_ && row <= usedRows_ ? int(rows_[size_t(row - firstHeldRow_)].size())
                                                    : 0;
}

void Worksheet::setValue(int row, int column, const QString& text) {
    Cell& target = touch(row, column);
    target.text = text;
    target.kind = text.isEmpty() ? CellKind::Empty : CellKind::Text;
}

void Worksheet::setEntry(int row, int column, const QString& text) {
    Cell& target = touch(row, column);
    target.text = text;
    target.kind = text.isEmpty()            ? CellKind::Empty
                  : IsPlainNumberText(text) ? CellKind::Number
                                            : CellKind::Text;
}

void Worksheet::format(const CellRect& range, CellProperty property, int32_t value) {
    requireUnwritten(range.top);
    if (writtenRows_ > 0 && range.bottom == kSheetRows && !range.isSingleCell()) {
        // Reaching the sheet's end, it would change the columns' format, which written rows
        // show in their untouched cells.
        throw SpreadsheetError("el formato alcanzaría filas ya escritas en el libro");
    }
    if (range.isSingleCell()) {
        Cell& target = touch(range.top, range.left);
        target.patch = formats_.applyToCell(target.patch, property, value);
    } else {
        formats_.applyToRange(range, property, value);
    }
}

ResolvedFormat Worksheet::resolvedFormat(int row, int column) const {
    const Cell* found = cell(row, column);
    return formats_.resolve(row, column, found ? found->patch : 0);
}

int32_t Worksheet::fontIndex(const QString& name) {
    auto at = std::find(fontNames_.begin(), fontNames_.end(), name);
    if (at != fontNames_.end()) {
        return int32_t(at - fontNames_.begin());
    }
    fontNames_.push_back(name);
    return int32_t(fontNames_.size() - 1);
}

void Worksheet::setRowHeight(int first, int last, double points) {
    if (!(points >= 0 && points <= 409)) {
        throw SpreadsheetError("alto de fila no válido");
    }
    requireUnwritten(first);
    rowHeights_.assign(first, last, points);
}

void Worksheet::setColumnWidth(int first, int last, double characters) {
    if (!(characters >= 0 && characters <= 255)) {
        throw SpreadsheetError("ancho de columna no válido");
    }
    columnWidths_.assign(first, last, characters);
}

void Worksheet::autoFitColumns(const CellRect& range) {
    requireUnwritten(range.top);
    std::map<int, double> widest;
    const int lastRow = std::min(range.bottom, usedRows());
    for (int row = range.top; row <= lastRow; ++row) {
        const int lastColumn = std::min(range.right, usedColumns(row));
        for (int column = range.left; column <= lastColumn; ++column) {
            const Cell& c = *cell(row, column);
            if (c.kind == CellKind::Empty) {
                continue;
            }
            const ResolvedFormat f = resolvedFormat(row, column);
            const QString family = f.has(CellProperty::FontName)
                                       ? fontName(f.get(CellProperty::FontName))
                                       : QString::fromLatin1(kDefaultFontName);
            const double points =
                f.has(CellProperty::FontSize) ? f.get(CellProperty::FontSize) / 100.0 : 11.0;
            const bool bold = f.has(CellProperty::FontBold) && f.get(CellProperty::FontBold);
            double& width = widest[column];
            width = std::max(width, FittedColumnWidth(c.text, family, points, bold));
        }
    }
    for (const auto& [column, width] : widest) {
        columnWidths_.assign(column, column, std::min(width, 255.0));
    }
}

void Worksheet::addLink(int row, int column, const QString& address, const QString& textToDisplay) {
    setValue(row, column, textToDisplay);
    touch(row, column).linked = true;
    links_[{row, column}] = address;
    if (linkFont_ < 0) {
        linkFont_ = fontIndex(QString::fromLatin1(kLinkStyleFontName));
    }
    const CellRect at = CellRect::Cell(row, column);
    format(at, CellProperty::FontName, linkFont_);
    format(at, CellProperty::FontSize, 1100);
    format(at, CellProperty::FontColor, kLinkStyleColor);
    format(at, CellProperty::FontUnderline, 1);
}

void Worksheet::freezePanes(int row, int column) {
    frozenRow_ = row;
    frozenColumn_ = column;
}

Workbook::Workbook() {
    sheets_.push_back(std::make_unique<Worksheet>(QStringLiteral("Hoja1")));
}

void RangeFont::Name(const QString& name) {
    if (name.trimmed().isEmpty()) {
        throw SpreadsheetError("nombre de fuente vacío");
    }
    sheet_->format(range_, CellProperty::FontName, sheet_->fontIndex(name));
}

void RangeFont::Size(double points) {
    if (!(points >= 1 && points <= 409)) {
        throw SpreadsheetError("tamaño de fuente no válido");
    }
    sheet_->format(range_, CellProperty::FontSize, int32_t(std::lround(points * 100)));
}

void RangeFont::Bold(bool bold) {
    sheet_->format(range_, CellProperty::FontBold, Switch(bold));
}

void RangeFont::ColorIndex(int colorIndex) {
    if (colorIndex == xlColorIndexAutomatic) {
        sheet_->format(range_, CellProperty::FontColor, 0x000000);
        return;
    }
    sheet_->format(range_, CellProperty::FontColor, PaletteColor(colorIndex));
}

void RangeBorders::LineStyle(int lineStyle) {
    if (lineStyle != xlContinuous && lineStyle != xlLineStyleNone) {
        throw SpreadsheetError("estilo de línea no admitido");
    }
    sheet_->format(range_, CellProperty::LineStyle, lineStyle);
}

void RangeInterior::ColorIndex(int colorIndex) {
    const int32_t color = colorIndex == xlColorIndexNone ? kNoFill : PaletteColor(colorIndex);
    sheet_->format(range_, CellProperty::FillColor, color);
}

void RangeColumns::AutoFit() {
    sheet_->autoFitColumns(range_);
}

void SheetRange::Select() {
    sheet_->select(range_);
}

void SheetRange::Value(const QString& text) {
    for (int row = range_.top; row <= range_.bottom; ++row) {
        for (int column = range_.left; column <= range_.right; ++column) {
            sheet_->setValue(row, column, text);
        }
    }
}

void SheetRange::Formula(const QString& text) {
    for (int row = range_.top; row <= range_.bottom; ++row) {
        for (int column = range_.left; column <= range_.right; ++column) {
            sheet_->setEntry(row, column, text);
        }
    }
}

void SheetRange::HorizontalAlignment(int alignment) {
    switch (alignment) {
        case xlGeneral:
        case xlCenter:
        case xlLeft:
        case xlRight:
        case xlJustify:
        case xlDistributed:
        case xlFill:
        case xlCenterAcrossSelection:
            sheet_->format(range_, CellProperty::HorizontalAlignment, alignment);
            return;
        default:
            throw SpreadsheetError("alineación horizontal no admitida");
    }
}

void SheetRange::VerticalAlignment(int alignment) {
    switch (alignment) {
        case xlTop:
        case xlCenter:
        case xlBottom:
        case xlJustify:
        case xlDistributed:
            sheet_->format(range_, CellProperty::VerticalAlignment, alignment);
            return;
        default:
            throw SpreadsheetError("alineación vertical no admitida");
    }
}

void SheetRange::RowHeight(double points) {
    sheet_->setRowHeight(range_.top, range_.bottom, points);
}

void SheetRange::ColumnWidth(double characters) {
    sheet_->setColumnWidth(range_.left, range_.right, characters);
}

void SheetRange::WrapText(bool wrap) {
    sheet_->format(range_, CellProperty::WrapText, Switch(wrap));
}

void SheetRange::Orientation(int degrees) {
    if (degrees < -90 || degrees > 90) {
        throw SpreadsheetError("orientación no válida");
    }
    sheet_->format(range_, CellProperty::Orientation, degrees);
}

void SheetRange::AddIndent(bool addIndent) {
    sheet_->format(range_, CellProperty::AddIndent, Switch(addIndent));
}

void SheetRange::IndentLevel(int level) {
    if (level < 0 || level > 15) {
        throw SpreadsheetError("sangría no válida");
    }
    sheet_->format(range_, CellProperty::IndentLevel, level);
}

void SheetRange::ShrinkToFit(bool shrink) {
    sheet_->format(range_, CellProperty::ShrinkToFit, Switch(shrink));
}

void SheetRange::ReadingOrder(int order) {
    if (order != xlContext && order != xlLTR && order != xlRTL) {
        throw SpreadsheetError("orden de lectura no válido");
    }
    sheet_->format(range_, CellProperty::ReadingOrder, order);
}

void SheetRange::MergeCells(bool merge) {
    sheet_->format(range_, CellProperty::MergeCells, Switch(merge));
}

void SheetHyperlinks::Add(const SheetRange& anchor, const QString& address,
                          const QString& textToDisplay) {
    sheet_->addLink(anchor.range_.top, anchor.range_.left, address, textToDisplay);
}

SheetRange ActiveSheetObject::Range(const QString& reference) const {
    return SheetRange(sheet_, ParseCellReference(reference));
}

void ActiveWindowObject::FreezePanes(bool freeze) {
    if (!freeze) {
        sheet_->freezePanes(1, 1);
        return;
    }
    const CellRect& at = sheet_->selection();
    // A whole-row selection freezes rows only, a whole-column one columns only.
    const bool wholeRows = at.left == 1 && at.right == kSheetColumns;
    const bool wholeColumns = at.top == 1 && at.bottom == kSheetRows;
    sheet_->freezePanes(wholeColumns ? 1 : at.top, wholeRows ? 1 : at.left);
}

Workbook& WorkbookCollection::Add() {
    workbooks_.push_back(std::make_unique<Workbook>());
    app_->active_ = workbooks_.back().get();
    return *workbooks_.back();
}

void WorkbookCollection::Close(Workbook* workbook) {
    auto at = std::find_if(workbooks_.begin(), workbooks_.end(),
                           [&](const auto& held) { return held.get() == workbook; });
    if (at == workbooks_.end()) {
        return;
    }
    workbooks_.erase(at);
    app_->active_ = workbooks_.empty() ? nullptr : workbooks_.back().get();
}

Worksheet& SpreadsheetApplication::activeSheet() {
    if (!active_) {
        throw SpreadsheetError("no hay un libro abierto");
    }
    return active_->activeSheet();
}

SheetRange SpreadsheetApplication::Cells(int row, int column) {
    CheckCell(row, column);
    return SheetRange(&activeSheet(), CellRect::Cell(row, column));
}

SheetRange SpreadsheetGlobalObject::Cells() {
    return SheetRange(&sheet(), CellRect::WholeSheet());
}

SheetRange SpreadsheetGlobalObject::Rows(const QString& span) {
    const CellRect rect =
        ParseCellReference(span.contains(QLatin1Char(':')) ? span : span + ':' + span);
    if (rect.left != 1 || rect.right != kSheetColumns) {
        throw SpreadsheetError("no es un intervalo de filas");
    }
    return SheetRange(&sheet(), rect);
}

SheetRange SpreadsheetGlobalObject::Columns(const QString& span) {
    const CellRect rect =
        ParseCellReference(span.contains(QLatin1Char(':')) ? span : span + ':' + span);
    if (rect.top != 1 || rect.bottom != kSheetRows) {
        throw SpreadsheetError("no es un intervalo de columnas");
    }
    return SheetRange(&sheet(), rect);
}

SheetRange SpreadsheetGlobalObject::Range(const QString& reference) {
    return SheetRange(&sheet(), ParseCellReference(reference));
}

SheetRange SpreadsheetGlobalObject::Selection() {
    Worksheet& active = sheet();
    return SheetRange(&active, active.selection());
}

ActiveSheetObject SpreadsheetGlobalObject::ActiveSheet() {
    return ActiveSheetObject(&sheet());
}

ActiveWindowObject SpreadsheetGlobalObject::ActiveWindow() {
    return ActiveWindowObject(&sheet());
}

}  // namespace ponencias
