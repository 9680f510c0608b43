#include "TypologyStatistics.h"

#include "store/JetDialect.h"
#include "store/ProposalTable.h"

namespace ponencias::documents {

namespace {

// A value that names a law: neither empty nor "No aplica".
QString NamesALaw(const QString& column) {
    return QStringLiteral("%1 <> '' AND %1 <> 'No aplica'").arg(column);
}

}  // namespace

long long TypologyStatistics::proposals() const {
    return store_.number(QStringLiteral("SELECT COUNT(*) FROM PONENCIAS"));
}

std::vector<std::pair<QString, QString>> TypologyStatistics::tableColumns() const {
    return store_.columns(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(kProposalTable)));
}

std::vector<ColumnPresence> TypologyStatistics::presence(const QStringList& columns) const {
    QStringList sums;
    for (const QString& column : columns) {
        sums << QStringLiteral(
                    "SUM(%1 IS NOT NULL AND %1 <> ''), SUM(%1 IS NULL), "
                    "SUM(%1 = ''), COUNT(DISTINCT NULLIF(%1, ''))")
                    .arg(column);
    }
    const Row r =
        store_.row(QStringLiteral("SELECT %1 FROM PONENCIAS").arg(sums.join(QStringLiteral(", "))));
    std::vector<ColumnPresence> result(std::size_t(columns.size()));
    for (std::size_t i = 0; i < result.size() && !r.empty(); ++i) {
        const auto at = [&](std::size_t k) { return CountOf(r[4 * i + k]); };
        result[i] = {at(0), at(1), at(2), at(3)};
    }
    return result;
}

IdentifierValues TypologyStatistics::identifier(const QString& column) const {
    const Row r = store_.row(
        QStringLiteral("SELECT MIN(CAST(%1 AS INTEGER)), MAX(CAST(%1 AS INTEGER)), "
                       "COUNT(DISTINCT %1), SUM(CAST(CAST(%1 AS INTEGER) AS TEXT) <> %1) "
                       "FROM PONENCIAS WHERE %1 <> ''")
            .arg(column));
    if (r.empty()) {
        return {};
    }
    return {CountOf(r[0]), CountOf(r[1]), CountOf(r[2]), CountOf(r[3])};
}

std::vector<Row> TypologyStatistics::frequencies(const QString& column,
                                                 const QString& order) const {
    return store_.rows(
        QStringLiteral("SELECT %1, COUNT(*) FROM PONENCIAS GROUP BY %1 ORDER BY %1 IS NULL, "
                       "%1 = '', %2")
            .arg(column, order));
}

std::vector<Row> TypologyStatistics::counts(const QString& column) const {
    return store_.rows(
        QStringLiteral("SELECT %1, COUNT(*) FROM PONENCIAS GROUP BY %1").arg(column));
}

AgeValues TypologyStatistics::ages(const std::vector<AgeBand>& bands) const {
    const QString valid = QStringLiteral("EDAD <> '' AND EDAD IS NOT NULL");
    AgeValues ages;
    const Row range =
        store_.row(QStringLiteral("SELECT MIN(CAST(EDAD AS INTEGER)), MAX(CAST(EDAD AS INTEGER)), "
                                  "AVG(CAST(EDAD AS INTEGER)) FROM PONENCIAS WHERE %1")
                       .arg(valid));
    ages.given =
        store_.number(QStringLiteral("SELECT COUNT(*) FROM PONENCIAS WHERE %1").arg(valid));
    ages.median =
        store_.value(QStringLiteral("SELECT CAST(EDAD AS INTEGER) FROM PONENCIAS WHERE %1 ORDER BY "
                                    "CAST(EDAD AS INTEGER) LIMIT 1 OFFSET %2")
                         .arg(valid)
                         .arg(ages.given / 2));
    if (!range.empty()) {
        ages.youngest = range[0].value_or(QString());
        ages.oldest = range[1].value_or(QString());
        ages.mean = range[2].value_or(QString()).toDouble();
    }
    // Every band counted in one pass.
    QStringList sums;
    for (const AgeBand& b : bands) {
        sums << QStringLiteral("SUM(CAST(EDAD AS INTEGER) BETWEEN %1 AND %2)")
                    .arg(b.low)
                    .arg(b.high);
    }
    const Row counts = store_.row(QStringLiteral("SELECT %1 FROM PONENCIAS WHERE %2")
                                      .arg(sums.join(QStringLiteral(", ")), valid));
    for (std::size_t i = 0; i < bands.size(); ++i) {
        ages.perBand.push_back(counts.empty() ? 0 : CountOf(counts[i]));
    }
    return ages;
}

std::vector<Row> TypologyStatistics::axes() const {
    return store_.rows(QStringLiteral(
        "SELECT EJE_TEMATICO, COUNT(*), COUNT(DISTINCT NULLIF(SUBTEMA, '')) FROM PONENCIAS "
        "GROUP BY EJE_TEMATICO"));
}

std::vector<Row> TypologyStatistics::classification() const {
    return store_.rows(
        QStringLiteral("SELECT EJE_TEMATICO, SUBTEMA, CATEGORIA_SUBTEMA, COUNT(*) FROM PONENCIAS "
                       "GROUP BY 1, 2, 3"));
}

TextLengths TypologyStatistics::freeText(const QString& column) const {
    const Row r =
        store_.row(QStringLiteral("SELECT MIN(LENGTH(%1)), ROUND(AVG(LENGTH(%1))), MAX(LENGTH(%1)) "
                                  "FROM PONENCIAS WHERE %1 <> ''")
                       .arg(column));
    TextLengths lengths;
    lengths.example =
        store_.value(QStringLiteral("SELECT %1 FROM PONENCIAS WHERE %1 <> '' LIMIT 1").arg(column));
    if (!r.empty()) {
        lengths.any = true;
        lengths.shortest = r[0].value_or(QString());
        lengths.mean = r[1].value_or(QString()).toDouble();
        lengths.longest = r[2].value_or(QString());
    }
    return lengths;
}

LawValues TypologyStatistics::laws(const QStringList& columns) const {
    LawValues laws;
    // One pass over the columns gives every law with its count per column and the number of
    // proposals that name it anywhere; a large file holds many distinct texts, and a scan per
    // law would grow with their number.
    QStringList mentions;
    QString perColumn;
    for (int i = 0; i < columns.size(); ++i) {
        mentions << QStringLiteral(
                        "SELECT rowid AS proposal, %1 AS place, %2 AS law FROM PONENCIAS "
                        "WHERE %3")
                        .arg(i + 1)
                        .arg(columns[i], NamesALaw(columns[i]));
        perColumn += QStringLiteral("SUM(place = %1), ").arg(i + 1);
    }
    laws.named =
        store_.rows(QStringLiteral("SELECT law, %1COUNT(DISTINCT proposal) FROM (%2) GROUP BY law "
                                   "COLLATE %3 ORDER BY law COLLATE %3")
                        .arg(perColumn, mentions.join(QStringLiteral(" UNION ALL ")),
                             QLatin1String(kJetTextCollation)));

    QStringList blanks;
    for (const char* condition : {"%1 = 'No aplica'", "%1 = ''", "%1 IS NULL"}) {
        for (const QString& c : columns) {
            blanks << QStringLiteral("SUM(%1)").arg(QString::fromLatin1(condition).arg(c));
        }
    }
    laws.blanks = store_.row(
        QStringLiteral("SELECT %1 FROM PONENCIAS").arg(blanks.join(QStringLiteral(", "))));

    QStringList terms;
    for (const QString& c : columns) {
        terms << QStringLiteral("(%1)").arg(NamesALaw(c));
    }
    laws.perProposal = store_.rows(
        QStringLiteral("SELECT n, COUNT(*) FROM (SELECT %1 AS n FROM PONENCIAS) GROUP BY n "
                       "ORDER BY n")
            .arg(QStringLiteral("IFNULL(") + terms.join(QStringLiteral(", 0) + IFNULL(")) +
                 QStringLiteral(", 0)")));
    return laws;
}

}  // namespace ponencias::documents
