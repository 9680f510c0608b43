#pragma once

// The rows of the documents' statements, read from the store's copy of the data file, so an
// Access file and an SQLite file are read the same way and their values compare as the query
// window compares them.

#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace ponencias {
class StoreSnapshot;
}

namespace ponencias::documents {

using Cell = std::optional<QString>;  // nullopt is NULL
using Row = std::vector<Cell>;

// A cell read as a count; NULL and text that is not a number count 0.
long long CountOf(const Cell& cell);

class StoreRows {
public:
    explicit StoreRows(const StoreSnapshot& snapshot) : snapshot_(snapshot) {}

    // The rows of `sql`. Throws StoreError, in the store's words, when the statement fails.
    std::vector<Row> rows(const QString& sql) const;
    // The first row of `sql`, or an empty row when it returns none.
    Row row(const QString& sql) const;
    // The first cell of `sql`; the empty text when it is NULL or there is no row.
    QString value(const QString& sql) const;
    long long number(const QString& sql) const { return value(sql).toLongLong(); }
    // The columns `sql` returns, without running it: each one's name and the type its table
    // declares for it (empty for an expression).
    std::vector<std::pair<QString, QString>> columns(const QString& sql) const;

private:
    const StoreSnapshot& snapshot_;
};

}  // namespace ponencias::documents
