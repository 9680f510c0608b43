#include "XlsxOutput.h"

#include <fcntl.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include "CheckedOutput.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
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
    // Most texts hold no "_x" at all; looking for the underscore alone is the quick test.
    bool found = false;
    for (qsizetype at = text.indexOf(QLatin1Char('_')); at >= 0 && at + 1 < text.size();
         at = text.indexOf(QLatin1Char('_'), at + 1)) {
        if (text.at(at + 1) == QLatin1Char('x')) {
            found = true;
            break;
        }
    }
    if (!found) {
        return text;
    }
    static const QRegularExpression escape(QStringLiteral("_(x[0-9A-Fa-f]{4}_)"));
    QString protectedText = text;
    protectedText.replace(escape, QStringLiteral("_x005F_\\1"));
    return protectedText;
}

// A cell's text as the file holds it, in UTF-8; `keep` characters of it.
QByteArray FileText(const QString& text, qsizetype keep) {
    return ProtectEscapes(keep < text.size() ? text.left(keep) : text).toUtf8();
}

// The value of a text of 1 to 15 decimal digits, which a double holds exactly.
double DigitsValue(const QString& digits) {
    int64_t value = 0;
    for (QChar ch : digits) {
        value = value * 10 + (ch.unicode() - '0');
    }
    return double(value);
}

// Keeps the library's English lines off standard error while it closes a workbook: a failure
// is told once, by the caller, in Spanish. The library prints with fprintf(stderr) and offers no
// other channel, so descriptor 2 points to /dev/null for the length of that one call only. The
// export's worker thread has stopped by then; a line another thread writes in that moment is
// lost, which is the price of the library's choice.
class QuietStandardError {
public:
    QuietStandardError() {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0) {
            ::dup2(null, STDERR_FILENO);
        }
        if (null >= 0) {
            ::close(null);
        }
    }
    ~QuietStandardError() {
        const int error = errno;
        std::fflush(stderr);
        if (saved_ >= 0) {
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
        }
        errno = error;
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved_ = -1;
};

// A failure of the library that is not the system's (memory, an internal limit).
SpreadsheetError LibraryFailure(lxw_error error) {
    return SpreadsheetError(QStringLiteral("la biblioteca de libros xlsx falló (código %1: %2)")
                                .arg(int(error))
                                .arg(QString::fromUtf8(lxw_strerror(error)))
                                .toStdString());
}

}  // namespace

class XlsxSheetWriter::Impl {
public:
    Impl(const Worksheet& sheet, const QString& path, const XlsxWriteOptions& options)
        : sheet_(sheet), options_(options), file_(path) {
        // The library writes the whole file itself, to the replacement's temporary name.
        const QByteArray file = QFile::encodeName(file_.temporaryPath());
        lxw_workbook_options workbookOptions{};
        // Rows go to a temporary file as they are written, so the workbook's size does not
        // weigh on memory; the rows must then come in order, which the sheet guarantees.
        workbookOptions.constant_memory = 1;
        // The library's own temporary files go beside the workbook: on the file system that
        // must hold the result, so a lack of room there cannot pass unnoticed in them alone.
        const QByteArray tmp = QFile::encodeName(QFileInfo(file_.temporaryPath()).path());
        workbookOptions.tmpdir = const_cast<char*>(tmp.constData());
        workbook_ = workbook_new_opt(file.constData(), &workbookOptions);
        if (!workbook_) {
            throw SpreadsheetError("no se pudo crear el libro");
        }
        const QByteArray name = sheet_.name().toUtf8();
        worksheet_ = workbook_add_worksheet(workbook_, name.constData());
        if (!worksheet_) {
            lxw_workbook_free(workbook_);
            workbook_ = nullptr;
            throw SpreadsheetError("no se pudo crear la hoja");
        }
        worker_.worksheet = worksheet_;
        worker_.maxLinkRecords = options_.maxLinkRecords;
    }

    ~Impl() {
        stopWorker();
        if (workbook_) {
            // Abandoned: the library writes its file only on closing, and the replacement
            // removes the empty one it reserved.
            lxw_workbook_free(workbook_);
        }
    }

    void writeRowsThrough(int lastRow) {
        refreshGrid();
        for (int row = writtenRows_ + 1; row <= lastRow; ++row) {
            writeRow(row);
        }
        writtenRows_ = std::max(writtenRows_, lastRow);
        if (batch_.size() >= kBatchRows) {
            sendBatch();
        }
    }

    XlsxWriteReport finish() {
        refreshGrid();
        int lastRow = sheet_.usedRows();
        if (lastRowBand_ > 0) {
            lastRow = std::max(lastRow, grid_->rowBandStart(lastRowBand_) - 1);
        }
        sheet_.rowHeights().forEach(
            [&](int, int last, double) { lastRow = std::max(lastRow, last); });
        writeRowsThrough(lastRow);
        sendBatch();
        stopWorker();
        report_.linksAsFormulas = worker_.linksAsFormulas;
        report_.rowsWithoutLink = std::move(worker_.rowsWithoutLink);
        // After the rows: a column format would otherwise make the library scan every column of
        // the sheet for each row it writes.
        writeColumns();
        writeView();
        // The library writes the rows into its temporary file without looking at the result;
        // a row that did not reach it would be missing from a workbook reported as complete.
        if (FILE* rows = worksheet_->optimize_tmpfile;
            rows && (std::fflush(rows) != 0 || std::ferror(rows))) {
            throw file_.error(errno != 0 ? errno : EIO);
        }
        lxw_workbook* closing = workbook_;
        workbook_ = nullptr;
        errno = 0;
        lxw_error closed;
        int closeErrno;
        {
            const QuietStandardError quiet;
            closed = workbook_close(closing);
            closeErrno = errno;
        }
        if (closed != LXW_NO_ERROR && closeErrno != 0) {
            throw file_.error(closeErrno);
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

private:
    // The band grid of the range operations made so far. Those made after rows were written
    // never reach the written rows (the sheet refuses them), so rebuilding it leaves their
    // formats as they were written.
    void refreshGrid() {
        const size_t ops = sheet_.formats().rangeOps().size();
        if (grid_ && gridOps_ == ops) {
            return;
        }
        grid_.emplace(sheet_.formats());
        gridOps_ = ops;
        lastRowBand_ = grid_->rowBandCount() - 1;
        lastColumnBand_ = grid_->columnBandCount() - 1;
        cellFormats_.clear();
        recent_.clear();
    }

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

    // The format a cell shows: its region's, with its own operations folded over it. Cells of
    // one column mostly repeat the format of the cell above, which is remembered per column.
    lxw_format* cellFormat(int rowBand, int columnBand, int column, uint32_t patch) {
        const uint64_t key =
            (uint64_t(rowBand * grid_->columnBandCount() + columnBand) << 32) | patch;
        if (size_t(column) < recent_.size() && recent_[size_t(column)].key == key) {
            return recent_[size_t(column)].format;
        }
        lxw_format* f;
        if (auto found = cellFormats_.find(key); found != cellFormats_.end()) {
            f = found->second;
        } else {
            const auto& region = grid_->region(rowBand, columnBand);
            ResolvedFormat resolved = region.format;
            FormatLog::MergePatch(resolved, region.opIndex, sheet_.formats().patch(patch));
            f = formatFor(resolved);
            cellFormats_.emplace(key, f);
        }
        if (column <= kRememberedColumns) {
            if (size_t(column) >= recent_.size()) {
                recent_.resize(size_t(column) + 1);
            }
            recent_[size_t(column)] = {key, f};
        }
        return f;
    }

    void writeColumns() {
        std::vector<int> starts{1};
        for (int band = 0; band < grid_->columnBandCount(); ++band) {
            starts.push_back(grid_->columnBandStart(band));
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
            lxw_format* f = formatFor(grid_->region(lastRowBand_, grid_->columnBand(first)).format);
            if (f || width != LXW_DEF_COL_WIDTH) {
                worksheet_set_column(worksheet_, lxw_col_t(first - 1), lxw_col_t(last - 1), width,
                                     f);
            }
        }
    }

    // The row's cells, with their formats resolved and texts encoded, go to the batch that the
    // worker writes.
    void writeRow(int row) {
        RowOp op;
        op.row = row;
        const int band = grid_->rowBand(row);
        const ResolvedFormat& sheetDefault = grid_->region(lastRowBand_, lastColumnBand_).format;
        const ResolvedFormat& rowResolved = grid_->region(band, lastColumnBand_).format;
        const bool rowFormatted = band != lastRowBand_ && !(rowResolved == sheetDefault);
        const double height = sheet_.rowHeights().at(row, std::nan(""));
        if (rowFormatted || !std::isnan(height)) {
            op.setRow = true;
            op.height = std::isnan(height) ? LXW_DEF_ROW_HEIGHT : height;
            op.format = rowFormatted ? formatFor(rowResolved) : nullptr;
        }
        const int used = sheet_.usedColumns(row);
        for (int columnBand = 0; columnBand < grid_->columnBandCount(); ++columnBand) {
            const int first = grid_->columnBandStart(columnBand);
            if (first > used && band == lastRowBand_) {
                break;
            }
            const ResolvedFormat& implicit =
                rowFormatted ? rowResolved : grid_->region(lastRowBand_, columnBand).format;
            const bool regionDiffers = !(grid_->region(band, columnBand).format == implicit);
            const int last = regionDiffers ? grid_->columnBandEnd(columnBand)
                                           : std::min(grid_->columnBandEnd(columnBand), used);
            for (int column = first; column <= last; ++column) {
                const Worksheet::Cell* c = sheet_.cell(row, column);
                const uint32_t patch = c ? c->patch : 0;
                if (!regionDiffers && patch == 0 && (!c || c->kind == Worksheet::CellKind::Empty)) {
                    continue;
                }
                CellOp& cellOp = op.cells.emplace_back();
                cellOp.column = column;
                cellOp.format = cellFormat(band, columnBand, column, patch);
                if (c && c->linked) {
                    cellOp.kind = CellOp::Link;
                    cellOp.text = c->text;
                    cellOp.keep = keptLength(row, c->text);
                    cellOp.address = sheet_.linkAddress(row, column);
                } else if (!c || c->kind == Worksheet::CellKind::Empty) {
                    cellOp.kind = CellOp::Blank;
                } else if (c->kind == Worksheet::CellKind::Number) {
                    cellOp.kind = CellOp::Number;
                    cellOp.number = DigitsValue(c->text);
                } else {
                    cellOp.kind = CellOp::String;
                    cellOp.text = c->text;
                    cellOp.keep = keptLength(row, c->text);
                }
            }
        }
        if (op.setRow || !op.cells.empty()) {
            batch_.push_back(std::move(op));
        }
    }

    // How much of a cell's text the file can hold (a cell holds 32,767 characters).
    qsizetype keptLength(int row, const QString& text) {
        if (text.size() <= kMaxCellText) {
            return text.size();
        }
        report_.rowsWithCutText.push_back(row);
        qsizetype keep = kMaxCellText;
        if (text.at(keep - 1).isHighSurrogate()) {
            --keep;
        }
        return keep;
    }

    // Hands the batch to the worker, which runs beside the filling of the sheet (reading the
    // store, resolving formats) on a second thread; without one, the batch is written here.
    void sendBatch() {
        if (batch_.empty()) {
            return;
        }
        if (!workerStarted_) {
            workerStarted_ = true;
            try {
                worker_.thread = std::thread([this] { worker_.run(); });
            } catch (const std::system_error&) {
                // No second thread: write in this one.
            }
        }
        if (!worker_.thread.joinable()) {
            worker_.write(batch_);
            batch_.clear();
            return;
        }
        std::unique_lock lock(worker_.mutex);
        worker_.changed.wait(lock, [&] { return worker_.queue.size() < kBatchesInFlight; });
        worker_.queue.push_back(std::move(batch_));
        batch_ = {};
        worker_.changed.notify_all();
    }

    void stopWorker() {
        if (!worker_.thread.joinable()) {
            return;
        }
        {
            std::lock_guard lock(worker_.mutex);
            worker_.stopping = true;
            worker_.changed.notify_all();
        }
        worker_.thread.join();
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

    struct CellOp {
        enum Kind : uint8_t { Blank, Number, String, Link };
        lxw_format* format = nullptr;
        QString text;  // encoded by the worker, which has time to spare
        qsizetype keep = 0;
        QString address;
        double number = 0;
        int column = 0;
        Kind kind = Blank;
    };
    struct RowOp {
        int row = 0;
        bool setRow = false;
        double height = LXW_DEF_ROW_HEIGHT;
        lxw_format* format = nullptr;
        std::vector<CellOp> cells;
    };
    using Batch = std::vector<RowOp>;

    // Makes every library call that writes rows, in the order the rows come. The formats it
    // uses are made before their batch is handed over and not changed afterwards; the library
    // keeps the sheet's rows and the formats' indices apart from the list of formats.
    struct Worker {
        lxw_worksheet* worksheet = nullptr;
        int maxLinkRecords = 0;
        int linkRecords = 0;
        long linksAsFormulas = 0;
        std::vector<int> rowsWithoutLink;

        std::thread thread;
        std::mutex mutex;
        std::condition_variable changed;
        std::deque<Batch> queue;
        bool stopping = false;

        void run() {
            for (;;) {
                Batch batch;
                {
                    std::unique_lock lock(mutex);
                    changed.wait(lock, [&] { return stopping || !queue.empty(); });
                    if (queue.empty()) {
                        return;
                    }
                    batch = std::move(queue.front());
                    queue.pop_front();
                    changed.notify_all();
                }
                write(batch);
            }
        }

        void write(const Batch& batch) {
            for (const RowOp& op : batch) {
                const auto r = lxw_row_t(op.row - 1);
                if (op.setRow) {
                    worksheet_set_row(worksheet, r, op.height, op.format);
                }
                for (const CellOp& cell : op.cells) {
                    const auto col = lxw_col_t(cell.column - 1);
                    switch (cell.kind) {
                        case CellOp::Blank:
                            worksheet_write_blank(worksheet, r, col, cell.format);
                            break;
                        case CellOp::Number:
                            worksheet_write_number(worksheet, r, col, cell.number, cell.format);
                            break;
                        case CellOp::String:
                            worksheet_write_string(worksheet, r, col,
                                                   FileText(cell.text, cell.keep).constData(),
                                                   cell.format);
                            break;
                        case CellOp::Link:
                            writeLink(op.row, cell);
                            break;
                    }
                }
            }
        }

        void writeLink(int row, const CellOp& cell) {
            const auto r = lxw_row_t(row - 1);
            const auto col = lxw_col_t(cell.column - 1);
            const QString& address = cell.address;
            const QByteArray shown = FileText(cell.text, cell.keep);
            if (linkRecords < maxLinkRecords && address.size() <= kMaxUrlLength) {
                const QByteArray url = address.toUtf8();
                if (worksheet_write_url_opt(worksheet, r, col, url.constData(), cell.format,
                                            shown.constData(), nullptr) == LXW_NO_ERROR) {
                    ++linkRecords;
                    return;
                }
            }
            const QString formula =
                QStringLiteral("HYPERLINK(%1,%2)")
                    .arg(FormulaText(address), FormulaText(QString::fromUtf8(shown)));
            if (formula.size() < kMaxFormulaLength) {
                const QByteArray text8 = formula.toUtf8();
                if (worksheet_write_formula_str(worksheet, r, col, text8.constData(), cell.format,
                                                shown.constData()) == LXW_NO_ERROR) {
                    ++linksAsFormulas;
                    return;
                }
            }
            rowsWithoutLink.push_back(row);
            worksheet_write_string(worksheet, r, col, shown.constData(), cell.format);
        }
    };

    static constexpr size_t kBatchRows = 64;
    static constexpr size_t kBatchesInFlight = 4;
    static constexpr int kRememberedColumns = 256;
    struct Recent {
        uint64_t key = ~uint64_t(0);
        lxw_format* format = nullptr;
    };

    const Worksheet& sheet_;
    const XlsxWriteOptions options_;
    FileReplacement file_;
    std::optional<FormatGrid> grid_;
    size_t gridOps_ = 0;
    int lastRowBand_ = 0;
    int lastColumnBand_ = 0;
    int writtenRows_ = 0;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* worksheet_ = nullptr;
    std::unordered_map<ResolvedFormat, lxw_format*, ResolvedFormatHash> formats_;
    std::unordered_map<uint64_t, lxw_format*> cellFormats_;
    std::vector<Recent> recent_;
    Batch batch_;
    Worker worker_;
    bool workerStarted_ = false;
    XlsxWriteReport report_;
};

XlsxWriteReport WriteXlsx(const Worksheet& sheet, const QString& path,
                          const XlsxWriteOptions& options) {
    return XlsxSheetWriter::Impl(sheet, path, options).finish();
}

XlsxSheetWriter::XlsxSheetWriter(Worksheet& sheet, const QString& path,
                                 const XlsxWriteOptions& options)
    : sheet_(&sheet), impl_(std::make_unique<Impl>(sheet, path, options)) {
    sheet.setRowSink(this);
}

XlsxSheetWriter::~XlsxSheetWriter() {
    sheet_->setRowSink(nullptr);
}

void XlsxSheetWriter::rowsComplete(int lastRow) {
    impl_->writeRowsThrough(lastRow);
}

XlsxWriteReport XlsxSheetWriter::finish() {
    sheet_->setRowSink(nullptr);
    return impl_->finish();
}

}  // namespace ponencias
