#include "XlsxRowWorker.h"

#include <system_error>

#include "XlsxCellText.h"

namespace ponencias {

void XlsxRowWorker::send(Batch& batch) {
    if (batch.empty()) {
        return;
    }
    if (!started_) {
        started_ = true;
        try {
            thread_ = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            // No second thread: write in this one.
        }
    }
    if (!thread_.joinable()) {
        write(batch);
        batch.clear();
        return;
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return queue_.size() < kBatchesInFlight; });
    queue_.push_back(std::move(batch));
    batch = {};
    changed_.notify_all();
}

void XlsxRowWorker::stop() {
    if (!thread_.joinable()) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        changed_.notify_all();
    }
    thread_.join();
}

void XlsxRowWorker::run() {
    for (;;) {
        Batch batch;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) {
                return;
            }
            batch = std::move(queue_.front());
            queue_.pop_front();
            changed_.notify_all();
        }
        write(batch);
    }
}

void XlsxRowWorker::write(const Batch& batch) {
    for (const RowOp& op : batch) {
        const auto r = lxw_row_t(op.row - 1);
        if (op.setRow) {
            worksheet_set_row(worksheet_, r, op.height, op.format);
        }
        for (const CellOp& cell : op.cells) {
            const auto col = lxw_col_t(cell.column - 1);
            switch (cell.kind) {
                case CellOp::Blank:
                    worksheet_write_blank(worksheet_, r, col, cell.format);
                    break;
                case CellOp::Number:
                    worksheet_write_number(worksheet_, r, col, cell.number, cell.format);
                    break;
                case CellOp::String:
                    worksheet_write_string(worksheet_, r, col,
                                           FileText(cell.text, cell.keep).constData(), cell.format);
                    break;
                case CellOp::Link:
                    writeLink(op.row, cell);
                    break;
            }
        }
    }
}

void XlsxRowWorker::writeLink(int row, const CellOp& cell) {
    const auto r = lxw_row_t(row - 1);
    const auto col = lxw_col_t(cell.column - 1);
    const QString& address = cell.address;
    const QByteArray shown = FileText(cell.text, cell.keep);
    if (linkRecords_ < maxLinkRecords_ && address.size() <= kMaxUrlLength) {
        const QByteArray url = address.toUtf8();
        if (worksheet_write_url_opt(worksheet_, r, col, url.constData(), cell.format,
                                    shown.constData(), nullptr) == LXW_NO_ERROR) {
            ++linkRecords_;
            return;
        }
    }
    const QString formula = QStringLiteral("HYPERLINK(%1,%2)")
                                .arg(FormulaText(address), FormulaText(QString::fromUtf8(shown)));
    if (formula.size() < kMaxFormulaLength) {
        const QByteArray text8 = formula.toUtf8();
        if (worksheet_write_formula_str(worksheet_, r, col, text8.constData(), cell.format,
                                        shown.constData()) == LXW_NO_ERROR) {
            ++linksAsFormulas_;
            return;
        }
    }
    rowsWithoutLink_.push_back(row);
    worksheet_write_string(worksheet_, r, col, shown.constData(), cell.format);
}

}  // namespace ponencias
