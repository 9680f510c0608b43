#include "XlsxCellText.h"

#include <QRegularExpression>
#include <QStringList>
#include <cstdint>

namespace ponencias {

namespace {

constexpr qsizetype kMaxFormulaLiteral = 255;

QString ProtectEscapes(const QString& text) {
    // Most texts hold no "_x" at all; looking for the underscore alone is the quick test.
    bool found = false;
    for (qsizetype at = text.indexOf(QLatin1Char('_')); at >= 0 && at + 1 < text.size();
         at = text.indexOf(QLatin1Char('_'), at + 1)) {
        if (text.at(at + 1) == QLatin1Char('x')) {
            found = true;
            break;
        }
    }
    if (!found) {
        return text;
    }
    static const QRegularExpression escape(QStringLiteral("_(x[0-9A-Fa-f]{4}_)"));
    QString protectedText = text;
    protectedText.replace(escape, QStringLiteral("_x005F_\\1"));
    return protectedText;
}

}  // namespace

QString FormulaText(const QString& text) {
    if (text.isEmpty()) {
        return QStringLiteral("\"\"");
    }
    QStringList pieces;
    for (qsizetype at = 0; at < text.size(); at += kMaxFormulaLiteral) {
        QString piece = text.mid(at, kMaxFormulaLiteral);
        piece.replace(QLatin1Char('"'), QLatin1String("\"\""));
        pieces << QLatin1Char('"') + piece + QLatin1Char('"');
    }
    return pieces.join(QLatin1Char('&'));
}

QByteArray FileText(const QString& text, qsizetype keep) {
    return ProtectEscapes(keep < text.size() ? text.left(keep) : text).toUtf8();
}

double DigitsValue(const QString& digits) {
    int64_t value = 0;
    for (QChar ch : digits) {
        value = value * 10 + (ch.unicode() - '0');
    }
    return double(value);
}

}  // namespace ponencias
