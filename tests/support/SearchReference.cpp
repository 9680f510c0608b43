#include "SearchReference.h"

#include <algorithm>

#include "store/ProposalStore.h"

namespace ponencias::test {

namespace {

QString Nul() {
    return QString(QChar(0));
}

const QStringList kEqualityColumns = {
    "NUM_JORNADA", "ESTADO", "EJE_TEMATICO", "SUBTEMA", "CATEGORIA_SUBTEMA", "PERFIL_PONENTE"};

std::u32string Folded(const QString& text) {
    std::u32string folded;
    for (char32_t c : text.toUcs4()) {
        folded.push_back(QChar::toCaseFolded(c));
    }
    return folded;
}

// The keyword's own "%" split it into pieces that must appear in order; empty ones say nothing.
std::vector<std::u32string> PatternPieces(const QString& keyword) {
    std::vector<std::u32string> pieces;
    for (const QString& piece : keyword.split(QLatin1Char('%'), Qt::SkipEmptyParts)) {
        pieces.push_back(Folded(piece));
    }
    return pieces;
}

// "%" + keyword + "%" over a folded text: the pieces appear in order, and "_" stands for any one
// character. Leftmost matching of each piece is exact for a pattern that starts and ends with
// "%".
bool ContainsPattern(const std::u32string& text, const std::vector<std::u32string>& pieces) {
    size_t from = 0;
    for (const std::u32string& p : pieces) {
        bool found = false;
        for (size_t start = from; start + p.size() <= text.size() && !found; ++start) {
            size_t k = 0;
            while (k < p.size() && (p[k] == U'_' || p[k] == text[start + k])) {
                ++k;
            }
            if (k == p.size()) {
                found = true;
                from = start + p.size();
            }
        }
        if (!found) {
            return false;
        }
    }
    return true;
}

void SortByFolio(QStringList& folios) {
    std::sort(folios.begin(), folios.end(), [](const QString& a, const QString& b) {
        return a.toLongLong() != b.toLongLong() ? a.toLongLong() < b.toLongLong() : a < b;
    });
}

}  // namespace

QStringList HostileValues() {
    return {
        QStringLiteral("O'Brien"),
        QStringLiteral("'"),
        QStringLiteral("''"),
        QStringLiteral("x') OR 1=1 --"),
        QStringLiteral("' OR '1'='1"),
        QStringLiteral("\"comillas dobles\""),
        QStringLiteral("100%"),
        QStringLiteral("5_a"),
        QStringLiteral("%"),
        QStringLiteral("_"),
        QStringLiteral("\\"),
        QStringLiteral("C:\\ruta\\n"),
        QStringLiteral("--"),
        QStringLiteral(";"),
        QStringLiteral("; DROP TABLE PONENCIAS; --"),
        QStringLiteral("tab\there\r\nnueva línea\x01\x1f"),
        QStringLiteral("antes") + Nul() + QStringLiteral("después"),
        (Nul() + QStringLiteral("a")).repeated(1500),
        QStringLiteral("voto 🗳️ nulo 👍🏽"),
        QStringLiteral("العدالة الانتخابية"),
        QStringLiteral("\u202Eabc\u202C"),
        QStringLiteral("ÉLECCIÓN Ñandú"),
        QString(100000, QLatin1Char('z')),
    };
}

std::vector<ProposalRow> HostileRows(const QStringList& values) {
    std::vector<ProposalRow> rows;
    int folio = 1;
    const auto add = [&](ProposalRow row) {
        row.insert(QStringLiteral("FOLIO"), QString::number(folio++));
        rows.push_back(row);
    };
    for (const QString& value : values) {
        ProposalRow row;
        for (const QString& column : kEqualityColumns) {
            row.insert(column, value);
        }
        row.insert(QStringLiteral("NORMATIVIDAD_MODIFICAR_1"), value);
        row.insert(QStringLiteral("RESUMEN"),
                   QStringLiteral("Propuesta: ") + value + QStringLiteral(" fin."));
        add(row);

        ProposalRow upper;
        upper.insert(QStringLiteral("NUM_JORNADA"), value.toUpper());
        upper.insert(QStringLiteral("NORMATIVIDAD_MODIFICAR_5"), value.toUpper());
        upper.insert(QStringLiteral("RESUMEN"), value.toUpper());
        add(upper);
    }
    for (const char* plain : {"Jalisco", "Procedimientos electorales", "abc", "z", "1"}) {
        ProposalRow row;
        for (const QString& column : kEqualityColumns) {
            row.insert(column, QString::fromUtf8(plain));
        }
        row.insert(QStringLiteral("RESUMEN"), QString::fromUtf8(plain));
        add(row);
    }
    add({});  // every column null
    return rows;
}

SearchReference::SearchReference(const std::vector<ProposalRow>& rows) {
    for (const ProposalRow& row : rows) {
        FoldedRow folded;
        folded.folio = row.value(QStringLiteral("FOLIO")).toString();
        for (auto it = row.begin(); it != row.end(); ++it) {
            if (!it.value().isNull()) {
                folded.values.insert(it.key(), Folded(it.value().toString()));
            }
        }
        rows_.push_back(std::move(folded));
    }
}

QStringList SearchReference::Folios(const SearchCriteria& criteria) const {
    // Each criterion that restricts the search, as (column, folded value) pairs of which one must
    // hold; the keyword apart.
    struct Restriction {
        QStringList columns;
        std::u32string value;
    };
    std::vector<Restriction> restrictions;
    const auto restrict = [&](bool applies, QStringList columns, const QString& value) {
        if (applies) {
            restrictions.push_back({std::move(columns), Folded(value)});
        }
    };
    restrict(criteria.Jornada.ListIndex != 0, {"NUM_JORNADA"}, criteria.Jornada.Text);
    restrict(criteria.Entidad.ListIndex != 0, {"ESTADO"}, criteria.Entidad.Text);
    restrict(criteria.EjeTematico.ListIndex != 0, {"EJE_TEMATICO"}, criteria.EjeTematico.Text);
    restrict(criteria.Subtema != kTodosLosSubtemas, {"SUBTEMA"}, criteria.Subtema);
    restrict(criteria.Categoria != kTodasLasCategorias, {"CATEGORIA_SUBTEMA"}, criteria.Categoria);
    restrict(criteria.Perfil.ListIndex != 0, {"PERFIL_PONENTE"}, criteria.Perfil.Text);
    restrict(criteria.Normatividad.ListIndex != 0,
             {"NORMATIVIDAD_MODIFICAR_1", "NORMATIVIDAD_MODIFICAR_2", "NORMATIVIDAD_MODIFICAR_3",
              "NORMATIVIDAD_MODIFICAR_4", "NORMATIVIDAD_MODIFICAR_5"},
             criteria.Normatividad.Text);

    const std::vector<std::u32string> pieces = PatternPieces(criteria.Palabra);

    QStringList folios;
    for (const FoldedRow& row : rows_) {
        const auto holds = [&](const Restriction& restriction) {
            return std::any_of(restriction.columns.begin(), restriction.columns.end(),
                               [&](const QString& column) {
                                   const auto value = row.values.constFind(column);
                                   return value != row.values.cend() && *value == restriction.value;
                               });
        };
        if (!std::all_of(restrictions.begin(), restrictions.end(), holds)) {
            continue;
        }
        if (!criteria.Palabra.isEmpty()) {
            const auto summary = row.values.constFind(QStringLiteral("RESUMEN"));
            if (summary == row.values.cend() || !ContainsPattern(*summary, pieces)) {
                continue;
            }
        }
        folios << row.folio;
    }
    SortByFolio(folios);
    return folios;
}

QStringList StoreFolios(const QString& searchQuery) {
    QStringList folios;
    OpenProposalStore();
    ForEachRow(searchQuery, [&](const Recordset& rows) {
        folios << rows.Fields(QStringLiteral("FOLIO")).Text();
    });
    ReleaseProposalStore();
    SortByFolio(folios);
    return folios;
}

}  // namespace ponencias::test
