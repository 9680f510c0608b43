#pragma once

#include <QString>

namespace ponencias {

// The row order the file-database engine gives a result that asks for none: it finds distinct
// rows by sorting, so a SELECT DISTINCT, or a compound ending in a UNION without ALL (or an
// INTERSECT or EXCEPT), that has no ORDER BY of its own comes back in ascending order of its
// columns, left to right. Every other statement keeps the order its rows come in.
class ImpliedRowOrder {
public:
    // Reads the statement's top level (what no parenthesis, quote or comment holds).
    explicit ImpliedRowOrder(const QString& sql);

    // Whether the statement's rows are to come sorted; false also for a statement that cannot
    // be read with certainty, which then runs as it is written.
    bool applies() const { return insertAt_ >= 0; }
    // The statement with the order clause over its `columns` columns added, compared as the
    // store's ORDER BY compares them; only when applies().
    QString orderedStatement(int columns) const;

private:
    QString sql_;
    // Where the order clause goes: after the last word before the statement's end or its LIMIT.
    qsizetype insertAt_ = -1;
};

}  // namespace ponencias
