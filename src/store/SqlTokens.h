#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace ponencias {

// One piece of a statement's text, cut where SQLite's own tokenizer cuts where it matters to the
// store: a quote, a bracket or a comment hides whatever it holds (a word, a parenthesis, a
// semicolon) from whoever reads the statement's structure.
struct SqlToken {
    enum Kind {
        Space,       // blanks and line ends
        Comment,     // "-- …" to the line's end, "/* … */"
        Literal,     // '…', a doubled quote standing for one
        QuotedName,  // "…", […] or `…`
        Word,        // a keyword, a bare name or a number
        Symbol,      // any other single character: an operator, "(", ")", ",", ";"
    };
    Kind kind;
    QStringView text;
    qsizetype start;  // where the token starts in the statement
    // False for a literal, quoted name or comment that the statement ends inside of.
    bool closed = true;

    qsizetype end() const { return start + text.size(); }
    bool isSymbol(char16_t c) const { return kind == Symbol && text.front() == c; }
    // Whether the token is the keyword `keyword`, in any letter case.
    bool isKeyword(QLatin1StringView keyword) const {
        return kind == Word && text.compare(keyword, Qt::CaseInsensitive) == 0;
    }
    // Whether the token means something to SQLite (not a blank, not a comment).
    bool isSignificant() const { return kind != Space && kind != Comment; }
};

// Cuts `sql` into tokens, end to end: every character belongs to exactly one token, and the
// tokens view `sql`, which must outlive them.
std::vector<SqlToken> SqlTokens(QStringView sql);

}  // namespace ponencias
