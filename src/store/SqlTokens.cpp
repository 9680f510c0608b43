#include "SqlTokens.h"

namespace ponencias {

namespace {

bool IsWordCharacter(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c.isSurrogate() || c.isMark();
}

// The end of a quoted piece that starts at `start` and closes with `close`; a doubled closing
// character inside stands for one when `doubled` (the quotes) and ends it otherwise (brackets).
// `closed` tells whether the closing character was found before the text's end.
qsizetype QuotedEnd(QStringView sql, qsizetype start, QChar close, bool doubled, bool& closed) {
    const qsizetype n = sql.size();
    for (qsizetype j = start + 1; j < n; ++j) {
        if (sql.at(j) != close) {
            continue;
        }
        if (doubled && j + 1 < n && sql.at(j + 1) == close) {
            ++j;
            continue;
        }
        closed = true;
        return j + 1;
    }
    closed = false;
    return n;
}

}  // namespace

std::vector<SqlToken> SqlTokens(QStringView sql) {
    std::vector<SqlToken> tokens;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        const QChar next = i + 1 < n ? sql.at(i + 1) : QChar();
        SqlToken::Kind kind = SqlToken::Symbol;
        bool closed = true;
        qsizetype end = i + 1;
        if (c.isSpace()) {
            kind = SqlToken::Space;
            while (end < n && sql.at(end).isSpace()) {
                ++end;
            }
        } else if (c == u'-' && next == u'-') {
            kind = SqlToken::Comment;
            const qsizetype lineEnd = sql.indexOf(u'\n', i);
            end = lineEnd < 0 ? n : lineEnd + 1;
        } else if (c == u'/' && next == u'*') {
            kind = SqlToken::Comment;
            const qsizetype close = sql.indexOf(u"*/", i + 2);
            closed = close >= 0;
            end = closed ? close + 2 : n;
        } else if (c == u'\'') {
            kind = SqlToken::Literal;
            end = QuotedEnd(sql, i, c, true, closed);
        } else if (c == u'"' || c == u'`') {
            kind = SqlToken::QuotedName;
            end = QuotedEnd(sql, i, c, true, closed);
        } else if (c == u'[') {
            kind = SqlToken::QuotedName;
            end = QuotedEnd(sql, i, u']', false, closed);
        } else if (IsWordCharacter(c)) {
            kind = SqlToken::Word;
            while (end < n && IsWordCharacter(sql.at(end))) {
                ++end;
            }
        }
        tokens.push_back({kind, sql.mid(i, end - i), i, closed});
        i = end;
    }
    return tokens;
}

}  // namespace ponencias
