#include "ResultSheetWriter.h"

#include <xlsxwriter.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string_view>
#include <utility>

namespace ponencias {

namespace {

// The most characters a cell, a link record's address, a formula and a formula's string take.
constexpr qsizetype kMaxCellText = 32767;
constexpr qsizetype kMaxUrlLength = 2079;
constexpr qsizetype kMaxFormulaLength = 8192;
constexpr qsizetype kMaxFormulaLiteral = 255;

// A failure of the library that is not the system's (memory, an internal limit).
SpreadsheetError LibraryFailure(int error) {
    return SpreadsheetError(QStringLiteral("la biblioteca de libros xlsx falló (código %1: %2)")
                                .arg(error)
                                .arg(QString::fromUtf8(lxw_strerror(lxw_error(error))))
                                .toStdString());
}

// The file format writes a control character as "_xHHHH_" (the library does that); a text that
// holds such a sequence literally gets its underscore escaped, so readers give it back as is.
QString ProtectEscapes(const QString& text) {
    // Most texts hold no "_x" at all; looking for the underscore alone is the quick test.
    qsizetype at = text.indexOf(QLatin1Char('_'));
    while (at >= 0 && at + 1 < text.size() && text.at(at + 1) != QLatin1Char('x')) {
        at = text.indexOf(QLatin1Char('_'), at + 1);
    }
    if (at < 0 || at + 1 == text.size()) {
        return text;
    }
    static const QRegularExpression escape(QStringLiteral("_(x[0-9A-Fa-f]{4}_)"));
    return QString(text).replace(escape, QStringLiteral("_x005F_\\1"));
}

// A text as a formula's string: quotes doubled, cut into literals the formula language accepts,
// joined with "&".
QString FormulaText(const QString& text) {
    if (text.isEmpty()) {
        return QStringLiteral("\"\"");
    }
    QStringList pieces;
    for (qsizetype at = 0, length = 0; at < text.size(); at += length) {
        length = std::min(kMaxFormulaLiteral, text.size() - at);
        // A character of two units is never cut in two: each half would be read as "?".
        length -= at + length < text.size() && text.at(at + length - 1).isHighSurrogate() ? 1 : 0;
        QString piece = text.mid(at, length);
        piece.replace(QLatin1Char('"'), QLatin1String("\"\""));
        pieces << QLatin1Char('"') + piece + QLatin1Char('"');
    }
    return pieces.join(QLatin1Char('&'));
}

// A text of 1 to 15 decimal digits without a leading zero, which a double holds exactly: the
// number the text spells is what a user typing it would get. Nothing else is ever taken for a
// number or a formula.
bool IsPlainNumberText(const QByteArray& text) {
    if (text.isEmpty() || text.size() > 15 || text.front() == '0') {
        return false;
    }
    return std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

}  // namespace

ResultSheetWriter::ResultSheetWriter(const QString& path, const XlsxWriteOptions& options)
    : file_(path), options_(options) {
    // The library writes the whole file itself, to the replacement's temporary name.
    const QByteArray file = QFile::encodeName(file_.temporaryPath());
    lxw_workbook_options workbookOptions{};
    // Rows go to a temporary file as they are written, so the workbook's size does not weigh on
    // memory; the rows then come in order, which the export guarantees.
    workbookOptions.constant_memory = 1;
    // The library's own temporary files go beside the workbook: on the file system that must
    // hold the result, so a lack of room there cannot pass unnoticed in them alone.
    const QByteArray tmp = QFile::encodeName(QFileInfo(file_.temporaryPath()).path());
    workbookOptions.tmpdir = const_cast<char*>(tmp.constData());
    workbook_ = workbook_new_opt(file.constData(), &workbookOptions);
    sheet_ = workbook_ ? workbook_add_worksheet(workbook_, "Hoja1") : nullptr;
    if (!sheet_) {
        throw SpreadsheetError("no se pudo crear el libro");
    }
    // A data cell: its row's look, its borders and its column's alignment. Columns alike share
    // one library format: the library hashes a format at every use unless it numbered that very
    // one.
    const auto dataCell = [](Horizontal horizontal) {
        CellFormat cell = kDataRowFormat;
        cell.borders = true;
        cell.horizontal = horizontal;
        return cell;
    };
    std::array<lxw_format*, 4> byAlignment{};
    for (size_t c = 0; c < kResultColumns.size(); ++c) {
        lxw_format*& shared = byAlignment[size_t(kResultColumns[c].data)];
        dataFormats_[c] = shared ? shared : (shared = format(dataCell(kResultColumns[c].data)));
    }
    CellFormat link = dataCell(kResultColumns[kTitleColumn - 1].data);
    link.fontColor = kLinkColor;
    link.underline = true;
    linkFormat_ = format(link);
    dataRowFormat_ = format(kDataRowFormat);
}

ResultSheetWriter::~ResultSheetWriter() {
    if (workbook_) {
        // Abandoned: the library writes its file only on closing, and the replacement removes the
        // empty one it reserved.
        lxw_workbook_free(workbook_);
    }
}

// A new library format for `look`. The library gives formats alike one number, in the order the
// sheet first uses them.
lxw_format* ResultSheetWriter::format(const CellFormat& look) {
    lxw_format* f = workbook_add_format(workbook_);
    format_set_font_name(f, kSheetFontName);
    format_set_font_size(f, kSheetFontSize);
    if (look.bold) {
        format_set_bold(f);
    }
    if (look.fontColor != kNone) {
        format_set_font_color(f, look.fontColor);
    }
    if (look.underline) {
        format_set_underline(f, LXW_UNDERLINE_SINGLE);
    }
    if (look.fill != kNone) {
        format_set_pattern(f, LXW_PATTERN_SOLID);
        format_set_bg_color(f, look.fill);
    }
    if (look.borders) {
        format_set_border(f, LXW_BORDER_THIN);
    }
    static constexpr uint8_t kHorizontal[] = {LXW_ALIGN_NONE, LXW_ALIGN_LEFT, LXW_ALIGN_CENTER,
                                              LXW_ALIGN_JUSTIFY};
    if (look.horizontal != Horizontal::General) {
        format_set_align(f, kHorizontal[size_t(look.horizontal)]);
    }
    static constexpr uint8_t kVertical[] = {LXW_ALIGN_VERTICAL_BOTTOM, LXW_ALIGN_VERTICAL_TOP,
                                            LXW_ALIGN_VERTICAL_CENTER};
    if (look.vertical != Vertical::Bottom) {
        format_set_align(f, kVertical[size_t(look.vertical)]);
    }
    if (look.wrap) {
        format_set_text_wrap(f);
    }
    return f;
}

void ResultSheetWriter::check(int error) {
    if (error != LXW_NO_ERROR && failure_ == LXW_NO_ERROR) {
        failure_ = error;
    }
}

void ResultSheetWriter::writeHeader() {
    check(worksheet_set_row(sheet_, 0, kHeaderRowHeight, nullptr));
    lxw_format* header = format(kHeaderFormat);
    for (size_t c = 0; c < kResultColumns.size(); ++c) {
        check(worksheet_write_string(sheet_, 0, lxw_col_t(c), kResultColumns[c].caption, header));
    }
}

void ResultSheetWriter::writeRow(const Row& fields) {
    ++row_;
    check(worksheet_set_row(sheet_, lxw_row_t(row_), kDataRowHeight, dataRowFormat_));
    const QString folio = QString::fromUtf8(fields[0]);
    for (size_t c = 0; c < fields.size(); ++c) {
        if (int(c) + 1 == kTitleColumn && !IsUnlinkedFolio(folio)) {
            writeLink(int(c), DocumentAddress(folio), fields[c]);
        } else if (fields[c].isEmpty()) {
            check(worksheet_write_blank(sheet_, lxw_row_t(row_), lxw_col_t(c), dataFormats_[c]));
        } else if (IsPlainNumberText(fields[c])) {
            check(worksheet_write_number(sheet_, lxw_row_t(row_), lxw_col_t(c),
                                         double(fields[c].toLongLong()), dataFormats_[c]));
        } else {
            check(worksheet_write_string(sheet_, lxw_row_t(row_), lxw_col_t(c),
                                         fileText(fields[c]).constData(), dataFormats_[c]));
        }
    }
}

// A cell's text as the file holds it, in UTF-8: cut to what a cell holds without splitting a
// character (the row is told), with its literal "_xHHHH_" sequences kept, and a byte that is not
// UTF-8 read as the replacement character.
QByteArray ResultSheetWriter::fileText(const QByteArray& utf8) {
    // Almost every text is short, valid and free of "_x": it goes as it is. (Its bytes are never
    // fewer than its UTF-16 units.)
    // (Qt's search for two bytes costs ten times the standard library's.)
    const std::string_view bytes(utf8.constData(), size_t(utf8.size()));
    if (utf8.size() <= kMaxCellText && bytes.find("_x") == bytes.npos && utf8.isValidUtf8()) {
        return utf8;
    }
    const QString text = QString::fromUtf8(utf8);
    qsizetype keep = text.size();
    if (keep > kMaxCellText) {
        if (report_.rowsWithCutText.empty() || report_.rowsWithCutText.back() != row_ + 1) {
            report_.rowsWithCutText.push_back(row_ + 1);  // a row named once, however many cut
        }
        keep = text.at(kMaxCellText - 1).isHighSurrogate() ? kMaxCellText - 1 : kMaxCellText;
    }
    return ProtectEscapes(text.left(keep)).toUtf8();
}

// A link record while the sheet has room for one and the address fits one; then a HYPERLINK()
// formula; a title that not even a formula can link is written plainly and its row told.
void ResultSheetWriter::writeLink(int column, const QString& address, const QByteArray& text) {
    const auto r = lxw_row_t(row_);
    const auto col = lxw_col_t(column);
    lxw_format* link = linkFormat_;
    const QByteArray shown = fileText(text);
    if (linkRecords_ < options_.maxLinkRecords && address.size() <= kMaxUrlLength) {
        const QByteArray url = address.toUtf8();
        if (worksheet_write_url_opt(sheet_, r, col, url.constData(), link, shown.constData(),
                                    nullptr) == LXW_NO_ERROR) {
            ++linkRecords_;
            return;
        }
    }
    const QString formula = QStringLiteral("HYPERLINK(%1,%2)")
                                .arg(FormulaText(address), FormulaText(QString::fromUtf8(shown)));
    if (formula.size() < kMaxFormulaLength) {
        const QByteArray text8 = formula.toUtf8();
        if (worksheet_write_formula_str(sheet_, r, col, text8.constData(), link,
                                        shown.constData()) == LXW_NO_ERROR) {
            return;
        }
    }
    report_.rowsWithoutLink.push_back(row_ + 1);
    check(worksheet_write_string(sheet_, r, col, shown.constData(), link));
}

XlsxWriteReport ResultSheetWriter::finish() {
    // After the rows: a column format would otherwise make the library scan every column of the
    // sheet for each row it writes. A justified column is so below the data rows too.
    for (size_t c = 0; c < kResultColumns.size(); ++c) {
        CellFormat column;
        if (kResultColumns[c].data == Horizontal::Justify) {
            column.horizontal = Horizontal::Justify;
        }
        check(worksheet_set_column(sheet_, lxw_col_t(c), lxw_col_t(c), kResultColumns[c].width,
                                   format(column)));
    }
    check(worksheet_set_column(sheet_, lxw_col_t(kResultColumns.size()), LXW_COL_MAX - 1,
                               LXW_DEF_COL_WIDTH, format({})));
    worksheet_freeze_panes(sheet_, kFrozenRows, 0);
    worksheet_set_selection(sheet_, kSelectedRow - 1, kSelectedColumn - 1, kSelectedRow - 1,
                            kSelectedColumn - 1);
    if (failure_ != LXW_NO_ERROR) {
        throw LibraryFailure(failure_);
    }
    // The library writes the rows into its temporary file without looking at the result; a row
    // that did not reach it would be missing from a workbook reported as complete.
    if (FILE* rows = sheet_->optimize_tmpfile;
        rows && (std::fflush(rows) != 0 || std::ferror(rows))) {
        throw file_.error(errno != 0 ? errno : EIO);
    }
    // Everything the library could refuse before packing is checked by now: the texts, links and
    // formulas are within its limits, and the file and its temporary folder were made. What can
    // still fail is a write while it packs (no room left, a size limit); the library then also
    // prints an English line on standard error, which no check beforehand can spare, and the
    // failure is told by its return code and errno.
    errno = 0;
    const lxw_error closed = workbook_close(std::exchange(workbook_, nullptr));
    if (closed != LXW_NO_ERROR && errno != 0) {
        throw file_.error(errno);
    }
    if (closed != LXW_NO_ERROR) {
        throw LibraryFailure(closed);
    }
    if (options_.kind != SpreadsheetFileKind::Workbook) {
        SetSpreadsheetFileKind(file_, options_.kind);
    }
    file_.commit();
    return report_;
}

}  // namespace ponencias
