#include "ListCriteria.h"

#include <QStringList>
#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace ponencias::cli {

namespace {

// The text as a person compares it at a glance: accents and case dropped, blanks collapsed.
QString Folded(const QString& text) {
    QString folded;
    for (const QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing) {
            folded += c;
        }
    }
    return folded.toCaseFolded().simplified();
}

qsizetype EditDistance(const QString& a, const QString& b) {
    std::vector<qsizetype> row(size_t(b.size()) + 1);
    for (size_t j = 0; j < row.size(); ++j) {
        row[j] = qsizetype(j);
    }
    for (qsizetype i = 1; i <= a.size(); ++i) {
        qsizetype diagonal = row[0];
        row[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype above = row[size_t(j)];
            row[size_t(j)] = std::min(
                {above + 1, row[size_t(j - 1)] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

// The entries the user most likely meant: those equal to the value once folded; else those
// within a typo or two of it; else those that hold it. A few at most, in the list's order.
QStringList ClosestEntries(const ListControl& list, const QString& value) {
    constexpr qsizetype kMostShown = 3;
    const QString wanted = Folded(value);
    if (wanted.isEmpty()) {
        return {};
    }
    std::vector<std::pair<QString, QString>> entries;  // the entry, folded
    for (int i = 0; i < list.ListCount(); ++i) {
        if (const QString entry = list.List(i); !Folded(entry).isEmpty()) {
            entries.emplace_back(entry, Folded(entry));
        }
    }
    const qsizetype typos = std::max<qsizetype>(1, wanted.size() / 5);
    const std::function<bool(const QString&)> tests[] = {
        [&](const QString& folded) { return folded == wanted; },
        [&](const QString& folded) { return EditDistance(folded, wanted) <= typos; },
        [&](const QString& folded) { return folded.contains(wanted); },
    };
    for (const auto& test : tests) {
        QStringList found;
        for (const auto& [entry, folded] : entries) {
            if (found.size() < kMostShown && test(folded)) {
                found << entry;
            }
        }
        if (!found.isEmpty()) {
            return found;
        }
    }
    return {};
}

QString Quoted(const QString& text) {
    return QStringLiteral("«%1»").arg(text);
}

}  // namespace

const FilterList* FilterListOf(const char* option) {
    for (const FilterList& filter : kFilterLists) {
        if (std::strcmp(filter.option, option) == 0) {
            return &filter;
        }
    }
    return nullptr;
}

std::optional<int> EntryIndex(const ListControl& list, const QString& value) {
    for (int i = 0; i < list.ListCount(); ++i) {
        if (list.List(i) == value) {
            return i;
        }
    }
    return std::nullopt;
}

QString NotAnEntryMessage(const FilterList& filter, const ListControl& list, const QString& value) {
    QString message = QStringLiteral("--%1 %2: no es una entrada de la lista %3.")
                          .arg(QLatin1String(filter.option), Quoted(value),
                               Quoted(QString::fromUtf8(filter.label)));
    QStringList closest = ClosestEntries(list, value);
    if (closest.isEmpty()) {
        return message + QStringLiteral(" Sus entradas se ven con «ponencias-cli listas».\n");
    }
    std::transform(closest.begin(), closest.end(), closest.begin(), Quoted);
    const QString last = closest.takeLast();
    return message + QStringLiteral(" ¿Quiso decir %1?\n")
                         .arg(closest.isEmpty() ? last
                                                : closest.join(QStringLiteral(", ")) +
                                                      QStringLiteral(" o ") + last);
}

}  // namespace ponencias::cli
