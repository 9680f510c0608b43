#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sqlite3_stmt;

namespace ponencias {

class StoreSnapshot;

// The rows of one statement's result, read in order with a fixed row count.
//
// The statement is run through once when the object is made: that gives the exact count, and a
// statement that fails anywhere fails there, before a single row is handed out. A result that
// fits in kKeptResultBytes is kept from that pass, compactly (text as UTF-8). A larger one is not
// kept: the statement is run a second time and only the current row is held, so reading a
// result costs memory for one row however long it is. The copy the statement runs on never
// changes, so the second run yields the same rows; should it fail anyway, or yield more or fewer
// rows than were counted, the move that finds out throws StoreError rather than end the result
// early.
class ResultRows {
public:
    static constexpr size_t kKeptResultBytes = size_t(8) << 20;

    // Runs `sql` through on `snapshot`. Throws StoreError, naming the statement, when the
    // statement is rejected or fails.
    ResultRows(std::shared_ptr<const StoreSnapshot> snapshot, const QString& sql);
    ~ResultRows();
    ResultRows(const ResultRows&) = delete;
    ResultRows& operator=(const ResultRows&) = delete;

    const QStringList& columns() const { return columns_; }
    long count() const { return count_; }
    // Whether the result is re-read from the copy as it is walked (it was too large to keep).
    bool streamed() const { return statement_ != nullptr; }

    // Makes row `row` current: the first row, or the one after the current row. Throws
    // StoreError when a re-read fails or disagrees with the count.
    void moveTo(long row);
    long position() const { return position_; }
    // The value at `column` of the current row; there must be one.
    QVariant value(int column) const;

private:
    void decodeRow(const char* start);
    [[noreturn]] void throwBroken() const;

    std::shared_ptr<const StoreSnapshot> snapshot_;
    QString sql_;
    QStringList columns_;
    long count_ = 0;
    long position_ = -1;
    sqlite3_stmt* statement_ = nullptr;  // only while the result is streamed
    // Kept rows one after another (the current row alone when streamed), each value a tag, then
    // 8 bytes for a number or a 4-byte length and the bytes for a text or blob.
    std::string data_;
    std::vector<size_t> rowStarts_;
    std::vector<const char*> current_;  // where each value of the current row starts
    // Set once a re-read went wrong: every later move fails the same way.
    bool failed_ = false;
    QString failure_;
};

}  // namespace ponencias
