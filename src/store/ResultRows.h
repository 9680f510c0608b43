#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <string>
#include <vector>

struct sqlite3_stmt;

namespace ponencias {

class StoreSnapshot;

// The rows of one statement's result, read in order with a fixed row count.
//
// The statement runs once, to its end, when the object is made: that gives the exact count, and
// a statement that fails anywhere fails there, before a single row is handed out. The rows are
// kept compactly (text as UTF-8). A result larger than kKeptResultBytes is kept in an unnamed
// temporary file instead of in memory, and read back through a small window as the reader
// moves, so a long result costs the memory of a few rows however long it is; the rows read are
// still exactly those of that one run. Should the file fail to read back, the move that finds
// out throws StoreError rather than end the result early.
class ResultRows {
public:
    static constexpr size_t kKeptResultBytes = size_t(8) << 20;

    // Runs `sql` on `snapshot`. Throws StoreError, naming the statement, when the statement is
    // rejected or fails, or its result cannot be kept.
    ResultRows(const std::shared_ptr<const StoreSnapshot>& snapshot, const QString& sql);
    ~ResultRows();
    Q_DISABLE_COPY(ResultRows)

    const QStringList& columns() const { return columns_; }
    long count() const { return count_; }
    // Whether the rows were kept in a temporary file (the result was too large for memory).
    bool inFile() const { return file_ >= 0; }

    // Makes row `row` current: the first row, or the one after the current row; `count()` is
    // the position after the last. Throws StoreError when a kept row cannot be read back.
    void moveTo(long row);
    long position() const { return position_; }
    // The value at `column` of the current row; there must be one.
    QVariant value(int column) const;

private:
    void keepRow(sqlite3_stmt* statement);
    void writeOut();
    const char* rowAt(qint64 offset, quint64& length);
    void decodeRow(const char* start, quint64 length);
    [[noreturn]] void fail(const QString& why);

    QString sql_;
    QStringList columns_;
    long count_ = 0;
    long position_ = -1;
    // The rows one after another, each an 8-byte length and then its values, each value a tag
    // and 8 bytes for a number or a 4-byte length and the bytes for a text or blob. Held in
    // `data_`, or in the temporary file `file_` with `data_` a window on it from `windowStart_`.
    std::string data_;
    int file_ = -1;
    qint64 fileSize_ = 0;
    qint64 windowStart_ = 0;
    qint64 rowOffset_ = 0;  // where the current row starts
    quint64 rowLength_ = 0;
    std::vector<const char*> current_;  // where each value of the current row starts
    // Set once reading back went wrong: every later move fails the same way.
    QString failure_;
};

}  // namespace ponencias
