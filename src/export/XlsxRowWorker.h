#pragma once

#include <xlsxwriter.h>

#include <QString>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace ponencias {

// Makes every libxlsxwriter call that writes the sheet's rows, in the order the rows come, on a
// second thread beside the filling of the sheet (reading the store, resolving formats); without
// one, in the caller's. The formats the rows use are made before their batch is handed over and
// not changed afterwards; the library keeps the sheet's rows and the formats' indices apart from
// its list of formats.
class XlsxRowWorker {
public:
    // One cell, its format resolved; its text encoded by the worker, which has time to spare.
    struct CellOp {
        enum Kind : uint8_t { Blank, Number, String, Link };
        lxw_format* format = nullptr;
        QString text;
        qsizetype keep = 0;  // how many characters of `text` the file holds
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

    // Links beyond `maxLinkRecords` link records are written as HYPERLINK() formulas.
    XlsxRowWorker(lxw_worksheet* worksheet, int maxLinkRecords)
        : worksheet_(worksheet), maxLinkRecords_(maxLinkRecords) {}
    ~XlsxRowWorker() { stop(); }
    Q_DISABLE_COPY(XlsxRowWorker)

    // Hands the batch over (it is left empty); waits while a few batches are still unwritten.
    void send(Batch& batch);
    // Returns when every batch handed over is written.
    void stop();

    // What the rows written so far could not hold as asked; read after stop().
    long linksAsFormulas() const { return linksAsFormulas_; }
    std::vector<int>& rowsWithoutLink() { return rowsWithoutLink_; }

private:
    void run();
    void write(const Batch& batch);
    void writeLink(int row, const CellOp& cell);

    static constexpr size_t kBatchesInFlight = 4;

    lxw_worksheet* worksheet_;
    int maxLinkRecords_;
    int linkRecords_ = 0;
    long linksAsFormulas_ = 0;
    std::vector<int> rowsWithoutLink_;

    bool started_ = false;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Batch> queue_;
    bool stopping_ = false;
};

}  // namespace ponencias
