#pragma once

// What the typology says about the data, counted in the store's copy of the data file: how each
// column is filled and stored, and the values of each kind of column with their frequencies.
// Every method throws StoreError when a statement fails (a missing table or column among them).

#include <QStringList>
#include <vector>

#include "StoreRows.h"

namespace ponencias::documents {

// How one column is filled.
struct ColumnPresence {
    long long filled = 0, nulls = 0, empties = 0, distinct = 0;
    bool operator==(const ColumnPresence&) const = default;
};

// A column of whole numbers written as text (the folio, the record number).
struct IdentifierValues {
    long long lowest = 0, highest = 0, distinct = 0;
    long long otherwiseWritten = 0;  // values that are not a plain number (zeros in front, …)
    bool operator==(const IdentifierValues&) const = default;
};

// The ages, over the proposals that give one.
struct AgeValues {
    long long given = 0;
    QString youngest, oldest, median;
    double mean = 0;
    std::vector<long long> perBand;  // by the bands asked for
};
struct AgeBand {
    int low, high;
};

// The lengths of a free text, over the proposals where it is not empty.
struct TextLengths {
    bool any = false;
    QString shortest, longest;
    double mean = 0;
    QString example;
};

// The laws named in the law columns, counted in one pass.
struct LawValues {
    // Each law: its text, then how many proposals name it in each column, then in any column.
    std::vector<Row> named;
    // "No aplica", the empty text and NULL: how many proposals hold each, column by column.
    Row blanks;
    // How many laws a proposal names, with how many proposals name that many, in that order.
    std::vector<Row> perProposal;
};

class TypologyStatistics {
public:
    explicit TypologyStatistics(const StoreSnapshot& snapshot) : store_(snapshot) {}

    long long proposals() const;
    // The columns of the table as the data file holds them, the program's and any other, in
    // order: each one's name and the stored type the table declares for it ("TEXT", …).
    std::vector<std::pair<QString, QString>> tableColumns() const;
    // How every column of `columns` is filled, counted in one pass over the table: on a large
    // file each pass costs as much as the counting.
    std::vector<ColumnPresence> presence(const QStringList& columns) const;

    IdentifierValues identifier(const QString& column) const;
    // Each value (NULL and the empty text last) with its number of proposals, ordered by
    // `order` (SQL over the value, column 1, and the count, column 2).
    std::vector<Row> frequencies(const QString& column, const QString& order) const;
    // Each value with its number of proposals, in no particular order.
    std::vector<Row> counts(const QString& column) const;
    AgeValues ages(const std::vector<AgeBand>& bands) const;
    // Each axis with its number of proposals and of distinct subtopics.
    std::vector<Row> axes() const;
    // Axis, subtopic, category and the number of proposals, for every combination stored.
    std::vector<Row> classification() const;
    TextLengths freeText(const QString& column) const;
    LawValues laws(const QStringList& columns) const;

private:
    StoreRows store_;
};

}  // namespace ponencias::documents
