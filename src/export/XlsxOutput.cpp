#include "XlsxOutput.h"

#include <xlsxwriter.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace ponencias {

namespace {

constexpr int kMaxCellText = 32767;
constexpr qsizetype kMaxUrlLength = 2079;
constexpr qsizetype kMaxFormulaLength = 8192;
constexpr qsizetype kMaxFormulaLiteral = 255;

uint8_t HorizontalCode(int32_t alignment) {
    switch (alignment) {
        case xlLeft:
            return LXW_ALIGN_LEFT;
        case xlCenter:
            return LXW_ALIGN_CENTER;
        case xlRight:
            return LXW_ALIGN_RIGHT;
        case xlJustify:
            return LXW_ALIGN_JUSTIFY;
        case xlDistributed:
            return LXW_ALIGN_DISTRIBUTED;
        case xlFill:
            return LXW_ALIGN_FILL;
        case xlCenterAcrossSelection:
            return LXW_ALIGN_CENTER_ACROSS;
        default:
            return LXW_ALIGN_NONE;
    }
}

uint8_t VerticalCode(int32_t alignment) {
    switch (alignment) {
        case xlTop:
            return LXW_ALIGN_VERTICAL_TOP;
        case xlCenter:
            return LXW_ALIGN_VERTICAL_CENTER;
        case xlJustify:
            return LXW_ALIGN_VERTICAL_JUSTIFY;
        case xlDistributed:
            return LXW_ALIGN_VERTICAL_DISTRIBUTED;
        default:
            return LXW_ALIGN_VERTICAL_BOTTOM;
    }
}

// A text as a formula's string: quotes doubled, cut into literals the formula language accepts,
// joined with "&".
QString FormulaText(const QString& text) {
    if (text.isEmpty()) {
        return QStringLiteral("\"\"");
    }
    QStringList pieces;
    for (qsizetype at = 0; at < text.size(); at += kMaxFormulaLiteral) {
        QString piece = text.mid(at, kMaxFormulaLiteral);
        piece.replace(QLatin1Char('"'), QLatin1String("\"\""));
        pieces << QLatin1Char('"') + piece + QLatin1Char('"');
    }
    return pieces.join(QLatin1Char('&'));
}

// The file format writes a control character as "_xHHHH_" (the library does that); a text that
// holds such a sequence literally gets its underscore escaped, so readers give it back as is.
QString ProtectEscapes(const QString& text) {
    if (!text.contains(QLatin1String("_x"))) {
        return text;
    }
    static const QRegularExpression escape(QStringLiteral("_(x[0-9A-Fa-f]{4}_)"));
    QString protectedText = text;
    protectedText.replace(escape, QStringLiteral("_x005F_\\1"));
    return protectedText;
}

class Writer {
public:
    Writer(const Worksheet& sheet, const XlsxWriteOptions& options)
        : sheet_(sheet), options_(options), grid_(sheet.formats()) {}

    XlsxWriteReport write(const QString& path) {
        const QByteArray file = QFile::encodeName(path);
        lxw_workbook_options workbookOptions{};
        workbookOptions.constant_memory = 1;
        const QByteArray tmp = QFile::encodeName(QDir::tempPath());
        workbookOptions.tmpdir = const_cast<char*>(tmp.constData());
        workbook_ = workbook_new_opt(file.constData(), &workbookOptions);
        if (!workbook_) {
            throw SpreadsheetError("no se pudo crear el libro");
        }
        const QByteArray name = sheet_.name().toUtf8();
        worksheet_ = workbook_add_worksheet(workbook_, name.constData());
        if (!worksheet_) {
            workbook_close(workbook_);
            throw SpreadsheetError("no se pudo crear la hoja");
        }
        lastRowBand_ = grid_.rowBandCount() - 1;
        lastColumnBand_ = grid_.columnBandCount() - 1;
        writeRows();
        writeColumns();
        writeView();
        const lxw_error closed = workbook_close(workbook_);
        if (closed != LXW_NO_ERROR) {
            throw SpreadsheetError(lxw_strerror(closed));
        }
        return report_;
    }

private:
    lxw_format* formatFor(const ResolvedFormat& resolved) {
        if (resolved.setMask == 0) {
            return nullptr;
        }
        if (auto found = formats_.find(resolved); found != formats_.end()) {
            return found->second;
        }
        lxw_format* f = workbook_add_format(workbook_);
        using P = CellProperty;
        if (resolved.has(P::FontName)) {
            const QByteArray fontName = sheet_.fontName(resolved.get(P::FontName)).toUtf8();
            format_set_font_name(f, fontName.constData());
        }
        if (resolved.has(P::FontSize)) {
            format_set_font_size(f, resolved.get(P::FontSize) / 100.0);
        }
        if (resolved.has(P::FontBold) && resolved.get(P::FontBold)) {
            format_set_bold(f);
        }
        if (resolved.has(P::FontColor)) {
            format_set_font_color(f, lxw_color_t(resolved.get(P::FontColor)));
        }
        if (resolved.has(P::FontUnderline) && resolved.get(P::FontUnderline)) {
            format_set_underline(f, LXW_UNDERLINE_SINGLE);
        }
        if (resolved.has(P::FillColor) && resolved.get(P::FillColor) != kNoFill) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, lxw_color_t(resolved.get(P::FillColor)));
        }
        if (resolved.has(P::LineStyle) && resolved.get(P::LineStyle) == xlContinuous) {
            format_set_border(f, LXW_BORDER_THIN);
        }
        if (resolved.has(P::HorizontalAlignment)) {
            if (const uint8_t code = HorizontalCode(resolved.get(P::HorizontalAlignment))) {
                format_set_align(f, code);
            }
        }
        if (resolved.has(P::VerticalAlignment)) {
            format_set_align(f, VerticalCode(resolved.get(P::VerticalAlignment)));
        }
        if (resolved.has(P::WrapText) && resolved.get(P::WrapText)) {
            format_set_text_wrap(f);
        }
        if (resolved.has(P::Orientation) && resolved.get(P::Orientation) != 0) {
            format_set_rotation(f, int16_t(resolved.get(P::Orientation)));
        }
        if (resolved.has(P::IndentLevel) && resolved.get(P::IndentLevel) > 0) {
            format_set_indent(f, uint8_t(resolved.get(P::IndentLevel)));
        }
        if (resolved.has(P::ShrinkToFit) && resolved.get(P::ShrinkToFit)) {
            format_set_shrink(f);
        }
        if (resolved.has(P::ReadingOrder)) {
            const int32_t order = resolved.get(P::ReadingOrder);
            if (order == xlLTR || order == xlRTL) {
                format_set_reading_order(f, order == xlLTR ? 1 : 2);
            }
        }
        formats_.emplace(resolved, f);
        return f;
    }

    // The format a cell shows: its region's, with its own operations folded over it.
    lxw_format* cellFormat(int rowBand, int columnBand, uint32_t patch) {
        const uint64_t key =
            (uint64_t(rowBand * grid_.columnBandCount() + columnBand) << 32) | patch;
        if (auto found = cellFormats_.find(key); found != cellFormats_.end()) {
            return found->second;
        }
        const auto& region = grid_.region(rowBand, columnBand);
        ResolvedFormat resolved = region.format;
        FormatLog::MergePatch(resolved, region.opIndex, sheet_.formats().patch(patch));
        lxw_format* f = formatFor(resolved);
        cellFormats_.emplace(key, f);
        return f;
    }

    void writeColumns() {
        std::vector<int> starts{1};
        for (int band = 0; band < grid_.columnBandCount(); ++band) {
            starts.push_back(grid_.columnBandStart(band));
        }
        sheet_.columnWidths().forEach([&](int first, int last, double) {
            starts.push_back(first);
            if (last < kSheetColumns) {
                starts.push_back(last + 1);
            }
        });
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
        for (size_t i = 0; i < starts.size(); ++i) {
            const int first = starts[i];
            const int last = i + 1 < starts.size() ? starts[i + 1] - 1 : kSheetColumns;
            const double width = sheet_.columnWidths().at(first, LXW_DEF_COL_WIDTH);
            lxw_format* f = formatFor(grid_.region(lastRowBand_, grid_.columnBand(first)).format);
            if (f || width != LXW_DEF_COL_WIDTH) {
                worksheet_set_column(worksheet_, lxw_col_t(first - 1), lxw_col_t(last - 1), width,
                                     f);
            }
        }
    }

    void writeRows() {
        int lastRow = sheet_.usedRows();
        if (lastRowBand_ > 0) {
            lastRow = std::max(lastRow, grid_.rowBandStart(lastRowBand_) - 1);
        }
        sheet_.rowHeights().forEach(
            [&](int, int last, double) { lastRow = std::max(lastRow, last); });
        std::vector<Worksheet::Link> links = sheet_.links();
        std::sort(links.begin(), links.end(), [](const auto& a, const auto& b) {
            return a.row != b.row ? a.row < b.row : a.column < b.column;
        });
        size_t nextLink = 0;
        const ResolvedFormat& sheetDefault = grid_.region(lastRowBand_, lastColumnBand_).format;
        int band = 0;
        for (int row = 1; row <= lastRow; ++row) {
            while (band < lastRowBand_ && row > grid_.rowBandEnd(band)) {
                ++band;
            }
            const ResolvedFormat& rowResolved = grid_.region(band, lastColumnBand_).format;
            const bool rowFormatted = band != lastRowBand_ && !(rowResolved == sheetDefault);
            const double height = sheet_.rowHeights().at(row, std::nan(""));
            if (rowFormatted || !std::isnan(height)) {
                worksheet_set_row(worksheet_, lxw_row_t(row - 1),
                                  std::isnan(height) ? LXW_DEF_ROW_HEIGHT : height,
                                  rowFormatted ? formatFor(rowResolved) : nullptr);
            }
            const int used = sheet_.usedColumns(row);
            for (int columnBand = 0; columnBand < grid_.columnBandCount(); ++columnBand) {
                const int first = grid_.columnBandStart(columnBand);
                if (first > used && band == lastRowBand_) {
                    break;
                }
                const ResolvedFormat& implicit =
                    rowFormatted ? rowResolved : grid_.region(lastRowBand_, columnBand).format;
                const bool regionDiffers = !(grid_.region(band, columnBand).format == implicit);
                const int last = regionDiffers ? grid_.columnBandEnd(columnBand)
                                               : std::min(grid_.columnBandEnd(columnBand), used);
                for (int column = first; column <= last; ++column) {
                    const Worksheet::Cell* c = sheet_.cell(row, column);
                    const uint32_t patch = c ? c->patch : 0;
                    if (!regionDiffers && patch == 0 &&
                        (!c || c->kind == Worksheet::CellKind::Empty)) {
                        continue;
                    }
                    lxw_format* f = cellFormat(band, columnBand, patch);
                    while (nextLink < links.size() &&
                           (links[nextLink].row < row ||
                            (links[nextLink].row == row && links[nextLink].column < column))) {
                        ++nextLink;
                    }
                    if (nextLink < links.size() && links[nextLink].row == row &&
                        links[nextLink].column == column) {
                        writeLink(row, column, links[nextLink].address, c ? c->text : QString(), f);
                        continue;
                    }
                    writeCell(row, column, c, f);
                }
            }
        }
    }

    void writeCell(int row, int column, const Worksheet::Cell* c, lxw_format* f) {
        const auto r = lxw_row_t(row - 1);
        const auto col = lxw_col_t(column - 1);
        if (!c || c->kind == Worksheet::CellKind::Empty) {
            worksheet_write_blank(worksheet_, r, col, f);
        } else if (c->kind == Worksheet::CellKind::Number) {
            worksheet_write_number(worksheet_, r, col, c->text.toDouble(), f);
        } else {
            worksheet_write_string(worksheet_, r, col, cellText(row, c->text).constData(), f);
        }
    }

    QByteArray cellText(int row, const QString& text) {
        if (text.size() <= kMaxCellText) {
            return ProtectEscapes(text).toUtf8();
        }
        report_.rowsWithCutText.push_back(row);
        qsizetype keep = kMaxCellText;
        if (text.at(keep - 1).isHighSurrogate()) {
            --keep;
        }
        return ProtectEscapes(text.left(keep)).toUtf8();
    }

    void writeLink(int row, int column, const QString& address, const QString& text,
                   lxw_format* f) {
        const auto r = lxw_row_t(row - 1);
        const auto col = lxw_col_t(column - 1);
        const QByteArray shown = cellText(row, text);
        if (linkRecords_ < options_.maxLinkRecords && address.size() <= kMaxUrlLength) {
            const QByteArray url = address.toUtf8();
            if (worksheet_write_url_opt(worksheet_, r, col, url.constData(), f, shown.constData(),
                                        nullptr) == LXW_NO_ERROR) {
                ++linkRecords_;
                return;
            }
        }
        const QString formula =
            QStringLiteral("HYPERLINK(%1,%2)")
                .arg(FormulaText(address), FormulaText(QString::fromUtf8(shown)));
        if (formula.size() < kMaxFormulaLength) {
            const QByteArray text8 = formula.toUtf8();
            if (worksheet_write_formula_str(worksheet_, r, col, text8.constData(), f,
                                            shown.constData()) == LXW_NO_ERROR) {
                ++report_.linksAsFormulas;
                return;
            }
        }
        report_.rowsWithoutLink.push_back(row);
        worksheet_write_string(worksheet_, r, col, shown.constData(), f);
    }

    void writeView() {
        if (sheet_.hasFrozenPanes()) {
            worksheet_freeze_panes(worksheet_, lxw_row_t(sheet_.frozenRow() - 1),
                                   lxw_col_t(sheet_.frozenColumn() - 1));
        }
        const CellRect& s = sheet_.selection();
        worksheet_set_selection(worksheet_, lxw_row_t(s.top - 1), lxw_col_t(s.left - 1),
                                lxw_row_t(s.bottom - 1), lxw_col_t(s.right - 1));
    }

    const Worksheet& sheet_;
    const XlsxWriteOptions& options_;
    FormatGrid grid_;
    int lastRowBand_ = 0;
    int lastColumnBand_ = 0;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* worksheet_ = nullptr;
    std::unordered_map<ResolvedFormat, lxw_format*, ResolvedFormatHash> formats_;
    std::unordered_map<uint64_t, lxw_format*> cellFormats_;
    int linkRecords_ = 0;
    XlsxWriteReport report_;
};

}  // namespace

XlsxWriteReport WriteXlsx(const Worksheet& sheet, const QString& path,
                          const XlsxWriteOptions& options) {
    return Writer(sheet, options).write(path);
}

}  // namespace ponencias
