#include "StatementText.h"

#include <QList>
#include <QRegularExpression>
#include <QStringList>

#include "JetDialect.h"

namespace ponencias {

namespace {

// The quoted part ('…', "…", `…`, […]) or comment ("-- …", "/* … */") that starts at `at`: where
// it ends (0 when none starts there) and whether the text ends inside it.
struct Quoted {
    qsizetype end = 0;
    bool closed = true;
};

Quoted QuotedAt(const QString& sql, qsizetype at) {
    const QChar c = sql[at];
    const QChar next = at + 1 < sql.size() ? sql[at + 1] : QChar();
    qsizetype close = -1;
    qsizetype after = 1;  // the closing mark's length
    if (c == u'\'' || c == u'"' || c == u'`') {
        close = sql.indexOf(c, at + 1);
        while (close >= 0 && close + 1 < sql.size() && sql[close + 1] == c) {
            close = sql.indexOf(c, close + 2);  // a doubled quote stands for one
        }
    } else if (c == u'[') {
        close = sql.indexOf(u']', at + 1);
    } else if (c == u'-' && next == u'-') {
        close = sql.indexOf(u'\n', at);
        return {close < 0 ? sql.size() : close, true};
    } else if (c == u'/' && next == u'*') {
        close = sql.indexOf(QStringLiteral("*/"), at + 2);
        after = 2;
    } else {
        return {};
    }
    return close < 0 ? Quoted{sql.size(), false} : Quoted{close + after, true};
}

}  // namespace

StatementText::StatementText(const QString& sql) {
    // `top`: `text` with every quoted part as "x", every comment blank, and what parentheses
    // hold blank, so only the statement's own words are left as words.
    QString top;
    bool sure = true;
    int depth = 0;
    for (qsizetype i = 0; i < sql.size();) {
        const Quoted quoted = QuotedAt(sql, i);
        if (quoted.end == 0) {
            const QChar c = sql[i++];
            depth -= c == u')' ? 1 : 0;
            sure = sure && depth >= 0 && c != QChar(0);
            text += c;
            top += depth > 0 ? QChar(u' ') : c;
            depth += c == u'(' ? 1 : 0;
            continue;
        }
        QString part = sql.mid(i, quoted.end - i);
        sure = sure && quoted.closed;
        const bool comment = part.startsWith(u'-') || part.startsWith(u'/');
        if (part.startsWith(u'\'') && quoted.closed && part.contains(QChar(0))) {
            const QString value =
                part.mid(1, part.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
            part = QStringLiteral("CAST(X'") + QString::fromLatin1(value.toUtf8().toHex()) +
                   QStringLiteral("' AS TEXT)");
        }
        text += part;
        top += QString(part.size(), depth > 0 || comment ? u' ' : u'x');
        i = quoted.end;
    }
    end = top.indexOf(u';');
    end = end < 0 ? text.size() : end;
    countedEnd = end;
    if (!sure || depth != 0) {
        return;
    }
    top = top.left(end).toUpper();
    QStringList words;
    QList<qsizetype> starts;
    for (const QRegularExpressionMatch& word :
         QRegularExpression(QStringLiteral("\\w+")).globalMatch(top)) {
        words << word.captured();
        starts << word.capturedStart();
    }
    if (words.isEmpty() || (words[0] != u"SELECT" && words[0] != u"WITH")) {
        return;
    }
    const qsizetype order = words.lastIndexOf(QStringLiteral("ORDER"));
    if (order >= 0) {
        // The order cannot change how many rows there are unless a LIMIT or OFFSET follows it;
        // counted without it, SQLite does not sort what it only counts.
        if (!words.mid(order).contains(QStringLiteral("LIMIT"))) {
            countedEnd = starts[order];
        }
        return;
    }
    qsizetype last = words.size() - 1;
    while (last >= 0 && words[last] != u"UNION" && words[last] != u"INTERSECT" &&
           words[last] != u"EXCEPT") {
        --last;
    }
    const bool distinct = last >= 0 ? !(words[last] == u"UNION" && words.value(last + 1) == u"ALL")
                                    : words.value(words.lastIndexOf(u"SELECT") + 1) == u"DISTINCT";
    if (distinct) {
        const qsizetype limit = words.indexOf(u"LIMIT");
        orderAt = limit >= 0 ? starts[limit] : end;
        while (orderAt > 0 && top[orderAt - 1].isSpace()) {
            --orderAt;
        }
    }
}

QString StatementText::ordered(int columns) const {
    QStringList keys;
    for (int c = 1; c <= columns; ++c) {
        keys << QString::number(c) + QStringLiteral(" COLLATE ") +
                    QLatin1StringView(kJetTextCollation);
    }
    return text.left(orderAt) + QStringLiteral(" ORDER BY ") + keys.join(QStringLiteral(", ")) +
           text.mid(orderAt);
}

QString StatementText::counted() const {
    return QStringLiteral("SELECT COUNT(*) FROM (") + text.left(countedEnd) + QStringLiteral("\n)");
}

}  // namespace ponencias
