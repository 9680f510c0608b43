// Whatever a user types or a list offers, a search finds exactly the proposals that hold the
// value: quotes, pattern characters, SQL fragments, control characters, NUL, emoji, right-to-left
// text and very long texts included. The store's answer is checked against a plain filter over
// the same rows (tests/support/SearchReference, shared with the search's fuzz target).
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "query/SearchQuery.h"
#include "store/StoreError.h"
#include "support/SearchReference.h"

namespace ponencias::test {
namespace {

struct Criterion {
    const char* name;
    std::function<void(SearchCriteria&, const QString&)> set;
};

// A list's criterion is its entry 1 with the value; a combo's and the keyword's, the text.
template <ListChoice SearchCriteria::*list>
void SetList(SearchCriteria& criteria, const QString& value) {
    criteria.*list = {1, value};
}
template <QString SearchCriteria::*text>
void SetText(SearchCriteria& criteria, const QString& value) {
    criteria.*text = value;
}

std::vector<Criterion> Criteria() {
    return {{"jornada", SetList<&SearchCriteria::Jornada>},
            {"entidad", SetList<&SearchCriteria::Entidad>},
            {"eje", SetList<&SearchCriteria::EjeTematico>},
            {"subtema", SetText<&SearchCriteria::Subtema>},
            {"categoria", SetText<&SearchCriteria::Categoria>},
            {"perfil", SetList<&SearchCriteria::Perfil>},
            {"normatividad", SetList<&SearchCriteria::Normatividad>},
            {"palabra", SetText<&SearchCriteria::Palabra>}};
}

std::string Shown(const QStringList& folios) {
    return folios.join(QLatin1Char(' ')).toStdString();
}

class HostileSearch : public ::testing::Test {
protected:
    explicit HostileSearch(const QStringList& values = HostileValues())
        : values_(values), rows_(HostileRows(values)), reference_(rows_), store_(rows_) {}
    void SetUp() override { store_.use(); }
    QStringList Found(const SearchCriteria& criteria) const {
        return StoreFolios(BuildSearchQuery(criteria));
    }
    // Every criterion alone, with each value, finds what the reference finds, and something.
    void ExpectEachCriterionFindsWhatTheReferenceFinds() const {
        for (const Criterion& criterion : Criteria()) {
            for (const QString& value : values_) {
                SearchCriteria criteria;
                criterion.set(criteria, value);
                const QStringList expected = reference_.Folios(criteria);
                QStringList found;
                try {
                    found = Found(criteria);
                } catch (const StoreError& error) {
                    ADD_FAILURE() << criterion.name << " = " << value.left(40).toStdString()
                                  << ": error " << error.number() << " "
                                  << error.description().left(200).toStdString();
                    continue;
                }
                EXPECT_EQ(Shown(found), Shown(expected))
                    << criterion.name << " = " << value.left(40).toStdString();
                EXPECT_FALSE(expected.isEmpty() && criterion.name != std::string("palabra"))
                    << "every value is stored somewhere: " << criterion.name;
            }
        }
    }
    const QStringList values_;
    const std::vector<ProposalRow> rows_;
    const SearchReference reference_;
    TemporaryStore store_;
};

TEST_F(HostileSearch, EachCriterionFindsExactlyTheProposalsThatHoldTheValue) {
    ExpectEachCriterionFindsWhatTheReferenceFinds();
}

// Letters whose capital and small forms are not a plain pair: signs that fold into Latin
// letters (KELVIN SIGN, ANGSTROM SIGN), the final sigma, the titlecase digraph, "ß".
class FoldingSearch : public HostileSearch {
protected:
    FoldingSearch()
        : HostileSearch({QStringLiteral("ångström"), QStringLiteral("\u212Bngström"),
                         QStringLiteral("\u212Aelvin"), QStringLiteral("kelvin"),
                         QStringLiteral("σίσυφος"), QStringLiteral("ΣΊΣΥΦΟΣ"),
                         QStringLiteral("\u01C5emal"), QStringLiteral("Straße")}) {}
};

TEST_F(FoldingSearch, LettersThatFoldAlikeAreFoundAlike) {
    ExpectEachCriterionFindsWhatTheReferenceFinds();
    SearchCriteria angstrom;
    angstrom.Entidad = {1, QStringLiteral("\u212Bngström")};
    EXPECT_EQ(Found(angstrom).size(), 2) << "the sign and the letter are one letter";
}

TEST_F(HostileSearch, AllCriteriaTogetherNarrowAsTheirConjunction) {
    for (const QString& value : HostileValues()) {
        SearchCriteria together;
        for (const Criterion& criterion : Criteria()) {
            criterion.set(together, value);
        }
        EXPECT_EQ(Shown(Found(together)), Shown(reference_.Folios(together)))
            << value.left(40).toStdString();
    }
}

}  // namespace
}  // namespace ponencias::test
