#include "StatementText.h"

#include <QLatin1StringView>

#include "JetDialect.h"
#include "SqlTokens.h"

namespace ponencias {

ImpliedRowOrder::ImpliedRowOrder(const QString& sql) : sql_(sql) {
    bool first = true;
    bool distinctSelect = false;  // the last top-level SELECT is a SELECT DISTINCT
    bool afterSelect = false;
    bool compound = false;
    bool distinctCompound = false;  // the last compound operator finds distinct rows
    bool afterUnion = false;
    int depth = 0;
    qsizetype end = -1;
    for (const SqlToken& token : SqlTokens(sql_)) {
        if (!token.isSignificant()) {
            if (!token.closed) {
                return;
            }
            continue;
        }
        // A NUL the store would stop at, or a quote the text ends in: not read with certainty.
        if (!token.closed || token.isSymbol(u'\0')) {
            return;
        }
        if (token.isSymbol(u'(')) {
            ++depth;
        } else if (token.isSymbol(u')') && --depth < 0) {
            return;
        } else if (depth == 0 && token.isSymbol(u';')) {
            break;
        }
        const bool keyword = depth == 0 && token.kind == SqlToken::Word;
        if (first && !(keyword && (token.isKeyword(QLatin1StringView("SELECT")) ||
                                   token.isKeyword(QLatin1StringView("WITH"))))) {
            return;  // not a query: nothing to order
        }
        first = false;
        if (afterSelect) {
            distinctSelect = token.isKeyword(QLatin1StringView("DISTINCT"));
        }
        if (afterUnion) {
            distinctCompound = !token.isKeyword(QLatin1StringView("ALL"));
        }
        afterSelect = keyword && token.isKeyword(QLatin1StringView("SELECT"));
        afterUnion = keyword && token.isKeyword(QLatin1StringView("UNION"));
        if (keyword && (token.isKeyword(QLatin1StringView("INTERSECT")) ||
                        token.isKeyword(QLatin1StringView("EXCEPT")))) {
            compound = distinctCompound = true;
        }
        compound = compound || afterUnion;
        if (keyword && token.isKeyword(QLatin1StringView("ORDER"))) {
            return;  // the statement's own order stands
        }
        if (keyword && token.isKeyword(QLatin1StringView("LIMIT"))) {
            break;  // the rows are sorted before the limit takes its share
        }
        end = token.end();
    }
    if (depth == 0 && end >= 0 && (compound ? distinctCompound : distinctSelect)) {
        insertAt_ = end;
    }
}

QString ImpliedRowOrder::orderedStatement(int columns) const {
    QString clause = QStringLiteral(" ORDER BY ");
    for (int c = 1; c <= columns; ++c) {
        clause += QString::number(c) + QStringLiteral(" COLLATE ") +
                  QLatin1StringView(kJetTextCollation) +
                  (c < columns ? QStringLiteral(", ") : QString());
    }
    return sql_.left(insertAt_) + clause + sql_.mid(insertAt_);
}

QString WithNulLiterals(const QString& sql) {
    if (!sql.contains(QChar(0))) {
        return sql;
    }
    QString out;
    out.reserve(sql.size() + 32);
    for (const SqlToken& token : SqlTokens(sql)) {
        if (token.kind != SqlToken::Literal || !token.closed || !token.text.contains(QChar(0))) {
            out += token.text;
            continue;
        }
        // The literal's text, its doubled quotes undone.
        const QString value = token.text.mid(1, token.text.size() - 2)
                                  .toString()
                                  .replace(QStringLiteral("''"), QStringLiteral("'"));
        out += QStringLiteral("CAST(X'") + QString::fromLatin1(value.toUtf8().toHex()) +
               QStringLiteral("' AS TEXT)");
    }
    return out;
}

}  // namespace ponencias
