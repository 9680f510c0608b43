#pragma once

#include <QHash>
#include <QStringList>
#include <string>
#include <vector>

#include "TestStore.h"
#include "query/SearchQuery.h"

namespace ponencias::test {

// Values a user could type or a list could offer that break a carelessly composed statement:
// quotes, pattern characters, SQL fragments, control characters, NUL, emoji, right-to-left text,
// accented capitals and a very long text.
QStringList HostileValues();

// Every value fills one proposal's filter columns and stands inside its summary; a second
// proposal carries it in capitals and only in its fifth law column. Plain proposals around them
// must never be found by a hostile value, and one proposal has every column null. Folios are
// numbered from 1 in order.
std::vector<ProposalRow> HostileRows(const QStringList& values);

// The search's meaning written out plainly over the rows of a test store, with the store's text
// rules: a text equals a value when both fold to the same characters (letter case never counts,
// accents always do, for accented letters too), the keyword is a LIKE pattern ("%" any run, "_"
// any one character) looked for anywhere in the summary, and a null value matches nothing. The
// tests and the search's fuzz target check the program's answers against it.
class SearchReference {
public:
    explicit SearchReference(const std::vector<ProposalRow>& rows);

    // The folios of the proposals a search with these criteria finds, in folio order.
    QStringList Folios(const SearchCriteria& criteria) const;

private:
    struct FoldedRow {
        QString folio;
        QHash<QString, std::u32string> values;  // a null column is left out
    };
    std::vector<FoldedRow> rows_;
};

// The program's answer: the statement run on the program-wide store (opened and released here),
// its folios in folio order. Store failures reach the caller as StoreError.
QStringList StoreFolios(const QString& searchQuery);

}  // namespace ponencias::test
