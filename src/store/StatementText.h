#pragma once

#include <QString>

namespace ponencias {

// What the store makes of a statement's text before SQLite reads it: NUL characters inside its
// literals kept, and the row order the file-database engine implies made explicit.

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

// SQLite reads statement text only up to a NUL character, while a text value typed by a user
// may hold one. Gives `sql` with each quoted literal that holds NUL characters written as its
// UTF-8 bytes in hexadecimal, cast to text, so it stands for the same text as one expression
// however many NULs it holds (a chain of joins would outgrow SQLite's expression depth). The
// rest of the statement is left as it is: a NUL outside a literal still ends the statement, and
// an unterminated literal is left for the store to refuse.
QString WithNulLiterals(const QString& sql);

}  // namespace ponencias
