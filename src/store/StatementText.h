#pragma once

#include <QString>

namespace ponencias {

// A statement's text as SQLite is to read it. SQLite reads statement text only up to a NUL, while
// a value typed by a user may hold one: each quoted literal holding NULs is written as its UTF-8
// bytes in hexadecimal, cast to text, one expression however many NULs it holds. The engine
// finds distinct rows by sorting, so a statement whose top level (what no parenthesis, quote or
// comment holds) is a SELECT DISTINCT, or a compound whose last operator is a UNION without ALL
// (or an INTERSECT or EXCEPT), and has no ORDER BY, comes sorted by its columns left to right;
// its LIMIT takes its share of the sorted rows. Any other statement, or one whose text ends
// inside a quote or a comment, keeps the order its rows come in.
struct StatementText {
    explicit StatementText(const QString& sql);

    QString text;              // what SQLite reads
    qsizetype end = 0;         // where the statement ends in `text`: its top-level ";" or the end
    qsizetype orderAt = -1;    // where the order clause goes in `text`; -1: no order implied
    qsizetype countedEnd = 0;  // where the rows' count stops reading `text`

    // `text` with an order over its `columns` first columns in the store's collation; only when
    // orderAt >= 0.
    QString ordered(int columns) const;
    // A statement counting the rows of this one.
    QString counted() const;
};

}  // namespace ponencias
