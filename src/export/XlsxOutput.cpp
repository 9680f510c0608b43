#include "XlsxOutput.h"

#include <xlsxwriter.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <optional>
#include <unordered_map>

#include "CheckedOutput.h"
#include "QuietStandardError.h"
#include "XlsxCellText.h"
#include "XlsxFormats.h"
#include "XlsxRowWorker.h"

namespace ponencias {

namespace {

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
        formats_.emplace(workbook_, sheet_);
        worker_.emplace(worksheet_, options_.maxLinkRecords);
    }

    ~Impl() {
        worker_.reset();  // stopped before the library's objects go
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
            worker_->send(batch_);
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
        worker_->send(batch_);
        worker_->stop();
        report_.linksAsFormulas = worker_->linksAsFormulas();
        report_.rowsWithoutLink = std::move(worker_->rowsWithoutLink());
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
            f = formats_->formatFor(resolved);
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
            lxw_format* f =
                formats_->formatFor(grid_->region(lastRowBand_, grid_->columnBand(first)).format);
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
            op.format = rowFormatted ? formats_->formatFor(rowResolved) : nullptr;
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

    void writeView() {
        if (sheet_.hasFrozenPanes()) {
            worksheet_freeze_panes(worksheet_, lxw_row_t(sheet_.frozenRow() - 1),
                                   lxw_col_t(sheet_.frozenColumn() - 1));
        }
        const CellRect& s = sheet_.selection();
        worksheet_set_selection(worksheet_, lxw_row_t(s.top - 1), lxw_col_t(s.left - 1),
                                lxw_row_t(s.bottom - 1), lxw_col_t(s.right - 1));
    }

    using CellOp = XlsxRowWorker::CellOp;
    using RowOp = XlsxRowWorker::RowOp;
    using Batch = XlsxRowWorker::Batch;

    static constexpr size_t kBatchRows = 64;
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
    std::optional<XlsxFormats> formats_;
    std::unordered_map<uint64_t, lxw_format*> cellFormats_;
    std::vector<Recent> recent_;
    Batch batch_;
    std::optional<XlsxRowWorker> worker_;
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
