#include "TypologyFormatting.h"

namespace ponencias::documents {

QString Shown(const Cell& cell) {
    if (!cell) {
        return QStringLiteral("<i>(nulo)</i>");
    }
    if (cell->isEmpty()) {
        return QStringLiteral("<i>(vacío)</i>");
    }
    return cell->toHtmlEscaped();
}

QString Number(long long n) {
    QString digits = QString::number(n);
    for (int i = digits.size() - 3; i > (n < 0 ? 1 : 0); i -= 3) {
        digits.insert(i, QLatin1Char(','));
    }
    return digits;
}

QString Percent(long long part, long long total) {
    if (part > 0 && part * 2000 < total) {
        return QStringLiteral("&lt; 0.1 %");
    }
    return total == 0
               ? QStringLiteral("–")
               : QString::number(100.0 * static_cast<double>(part) / static_cast<double>(total),
                                 'f', 1) +
                     QStringLiteral(" %");
}

QString CountRow(const QString& label, long long n, long long total) {
    return QStringLiteral(
               "<tr><td>%1</td><td class=\"numero\">%2</td><td class=\"numero\">%3</td></tr>")
        .arg(label, Number(n), Percent(n, total));
}

}  // namespace ponencias::documents
