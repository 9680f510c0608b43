// Whatever a user types or a list offers, a search finds exactly the proposals that hold the
// value: quotes, pattern characters, SQL fragments, control characters, NUL, emoji, right-to-left
// text and very long texts included. The store's answer is checked against a plain filter over
// the same rows.
#include <gtest/gtest.h>

#include <QSet>
#include <functional>
#include <vector>

#include "query/SearchQuery.h"
#include "store/ApplicationFolder.h"
#include "store/ProposalStore.h"
#include "store/StoreError.h"
#include "support/TestStore.h"

namespace ponencias::test {
namespace {

QString Nul() {
    return QString(QChar(0));
}

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
        QStringLiteral("voto 🗳️ nulo 👍🏽"),
        QStringLiteral("العدالة الانتخابية"),
        QStringLiteral("\u202Eabc\u202C"),
        QStringLiteral("ÉLECCIÓN Ñandú"),
        QString(100000, QLatin1Char('z')),
    };
}

const QStringList kEqualityColumns = {
    "NUM_JORNADA", "ESTADO", "EJE_TEMATICO", "SUBTEMA", "CATEGORIA_SUBTEMA", "PERFIL_PONENTE"};

// Every hostile value fills one proposal's filter columns and stands inside its summary; a
// second proposal carries it in another letter case and only in its fifth law column. Plain
// proposals around them must never be found by a hostile value.
std::vector<ProposalRow> HostileRows() {
    std::vector<ProposalRow> rows;
    int folio = 1;
    const auto add = [&](ProposalRow row) {
        row.insert(QStringLiteral("FOLIO"), QString::number(folio++));
        rows.push_back(row);
    };
    for (const QString& value : HostileValues()) {
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

// ---- The reference: the store's rules written out plainly ----------------------------------

std::u32string Folded(const QString& text) {
    std::u32string folded;
    for (char32_t c : text.toUcs4()) {
        folded.push_back(QChar::toCaseFolded(c));
    }
    return folded;
}

bool SameText(const QVariant& stored, const QString& value) {
    return !stored.isNull() && Folded(stored.toString()) == Folded(value);
}

// `text` LIKE "%" + keyword + "%": the keyword's own "%" split it into pieces that must appear
// in order, and "_" stands for any one character. Leftmost matching of each piece is exact for
// a pattern that starts and ends with "%".
bool ContainsPattern(const QVariant& stored, const QString& keyword) {
    if (stored.isNull()) {
        return false;
    }
    const std::u32string text = Folded(stored.toString());
    size_t from = 0;
    for (const QString& piece : keyword.split(QLatin1Char('%'))) {
        const std::u32string p = Folded(piece);
        if (p.empty()) {
            continue;
        }
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

QSet<QString> ReferenceFolios(const std::vector<ProposalRow>& rows,
                              const std::function<bool(const ProposalRow&)>& matches) {
    QSet<QString> folios;
    for (const ProposalRow& row : rows) {
        if (matches(row)) {
            folios.insert(row.value(QStringLiteral("FOLIO")).toString());
        }
    }
    return folios;
}

// ---- The program's answer ------------------------------------------------------------------

QSet<QString> StoreFolios(const SearchCriteria& criteria) {
    QSet<QString> folios;
    OpenProposalStore();
    ForEachRow(BuildSearchQuery(criteria), [&](const Recordset& rows) {
        folios.insert(rows.Fields(QStringLiteral("FOLIO")).Text());
    });
    ReleaseProposalStore();
    return folios;
}

struct Criterion {
    const char* name;
    std::function<void(SearchCriteria&, const QString&)> set;
    std::function<bool(const ProposalRow&, const QString&)> matches;
};

bool ColumnIs(const ProposalRow& row, const char* column, const QString& value) {
    return SameText(row.value(QLatin1String(column)), value);
}

std::vector<Criterion> Criteria() {
    return {
        {"jornada",
         [](SearchCriteria& c, const QString& v) {
             c.Jornada = {1, v};
         },
         [](const ProposalRow& r, const QString& v) { return ColumnIs(r, "NUM_JORNADA", v); }},
        {"entidad",
         [](SearchCriteria& c, const QString& v) {
             c.Entidad = {1, v};
         },
         [](const ProposalRow& r, const QString& v) { return ColumnIs(r, "ESTADO", v); }},
        {"eje",
         [](SearchCriteria& c, const QString& v) {
             c.EjeTematico = {1, v};
         },
         [](const ProposalRow& r, const QString& v) { return ColumnIs(r, "EJE_TEMATICO", v); }},
        {"subtema", [](SearchCriteria& c, const QString& v) { c.Subtema = v; },
         [](const ProposalRow& r, const QString& v) { return ColumnIs(r, "SUBTEMA", v); }},
        {"categoria", [](SearchCriteria& c, const QString& v) { c.Categoria = v; },
         [](const ProposalRow& r, const QString& v) {
             return ColumnIs(r, "CATEGORIA_SUBTEMA", v);
         }},
        {"perfil",
         [](SearchCriteria& c, const QString& v) {
             c.Perfil = {1, v};
         },
         [](const ProposalRow& r, const QString& v) { return ColumnIs(r, "PERFIL_PONENTE", v); }},
        {"normatividad",
         [](SearchCriteria& c, const QString& v) {
             c.Normatividad = {1, v};
         },
         [](const ProposalRow& r, const QString& v) {
             for (int k = 1; k <= 5; ++k) {
                 const QString column = QStringLiteral("NORMATIVIDAD_MODIFICAR_%1").arg(k);
                 if (SameText(r.value(column), v)) {
                     return true;
                 }
             }
             return false;
         }},
        {"palabra", [](SearchCriteria& c, const QString& v) { c.Palabra = v; },
         [](const ProposalRow& r, const QString& v) {
             return ContainsPattern(r.value(QStringLiteral("RESUMEN")), v);
         }},
    };
}

class HostileSearch : public ::testing::Test {
protected:
    void SetUp() override {
        rows_ = HostileRows();
        store_ = std::make_unique<TemporaryStore>(rows_);
        store_->use();
    }
    std::vector<ProposalRow> rows_;
    std::unique_ptr<TemporaryStore> store_;
};

TEST_F(HostileSearch, EachCriterionFindsExactlyTheProposalsThatHoldTheValue) {
    for (const Criterion& criterion : Criteria()) {
        for (const QString& value : HostileValues()) {
            SearchCriteria criteria;
            criterion.set(criteria, value);
            const QSet<QString> expected = ReferenceFolios(
                rows_, [&](const ProposalRow& row) { return criterion.matches(row, value); });
            QSet<QString> found;
            try {
                found = StoreFolios(criteria);
            } catch (const StoreError& error) {
                ADD_FAILURE() << criterion.name << " = " << value.left(40).toStdString()
                              << ": error " << error.number() << " "
                              << error.description().left(200).toStdString();
                continue;
            }
            EXPECT_EQ(found, expected) << criterion.name << " = " << value.left(40).toStdString();
            EXPECT_FALSE(expected.isEmpty() && criterion.name != std::string("palabra"))
                << "every hostile value is stored somewhere: " << criterion.name;
        }
    }
}

TEST_F(HostileSearch, AllCriteriaTogetherNarrowAsTheirConjunction) {
    const std::vector<Criterion> criteria = Criteria();
    for (const QString& value : HostileValues()) {
        SearchCriteria together;
        for (const Criterion& criterion : criteria) {
            criterion.set(together, value);
        }
        const QSet<QString> expected = ReferenceFolios(rows_, [&](const ProposalRow& row) {
            for (const Criterion& criterion : criteria) {
                if (!criterion.matches(row, value)) {
                    return false;
                }
            }
            return true;
        });
        EXPECT_EQ(StoreFolios(together), expected) << value.left(40).toStdString();
    }
}

TEST_F(HostileSearch, NoSearchChangesTheStore) {
    for (const QString& value : HostileValues()) {
        SearchCriteria criteria;
        criteria.Palabra = value;
        criteria.Subtema = value;
        StoreFolios(criteria);
    }
    EXPECT_EQ(StoreFolios(SearchCriteria()).size(), qsizetype(rows_.size()));
}

}  // namespace
}  // namespace ponencias::test
