#include "NulLiterals.h"

#include "SqlTokens.h"

namespace ponencias {

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
