// The order of rows a statement does not order itself: a distinct result comes sorted on its
// columns as the store's ORDER BY sorts them; every other result keeps the order its rows come in.
#include <gtest/gtest.h>

#include <QStringList>

#include "query/QueryFilters.h"
#include "store/ProposalStore.h"
#include "support/TestStore.h"

using namespace ponencias;
using ponencias::test::ProposalRow;
using ponencias::test::TemporaryStore;

namespace {

// Each row's values, joined by "|" when the statement has several columns; null reads as "~".
QStringList Rows(const QString& sql) {
    QStringList rows;
    OpenProposalStore();
    ForEachRow(sql, [&](const Recordset& result) {
        QStringList values;
        for (int c = 0; c < result.columnNames().size(); ++c) {
            const QVariant value = result.value(c);
            values << (value.isNull() ? QStringLiteral("~") : value.toString());
        }
        rows << values.join(u'|');
    });
    ReleaseProposalStore();
    return rows;
}

ProposalRow Row(const QVariant& estado, const QVariant& eje = {}, const QVariant& law2 = {},
                const QVariant& law4 = {}) {
    return {{"ESTADO", estado},
            {"EJE_TEMATICO", eje},
            {"NORMATIVIDAD_MODIFICAR_2", law2},
            {"NORMATIVIDAD_MODIFICAR_4", law4}};
}

// The rows go in an order unlike any sorted one: accents, letter case, "ñ", null and the empty
// text mixed.
class RowOrder : public ::testing::Test {
protected:
    void SetUp() override { store_.use(); }
    void TearDown() override { ReleaseProposalStore(); }

    TemporaryStore store_{{
        Row("Oaxaca", "b", "Ley Ñ", "ley a"),
        Row("nuevo león", "a", "Ley B"),
        Row(QVariant(), "b", QVariant(), "Ley B"),
        Row("Ñuu Savi", "a", "ley a"),
        Row("Álamo", "b"),
        Row("", "a", "Ley N"),
        Row("alamo", "b"),
        Row("cuba", "a", "ley z", "Ley Ñ"),
        Row("Zacatecas", "a"),
        Row("Oaxaca", "b"),
    }};
};

TEST_F(RowOrder, DistinctResultComesSortedAsOrderByComparesWithNullThenEmptyFirst) {
    const QStringList expected = {"~",          "",         "alamo",  "Álamo",    "cuba",
                                  "nuevo león", "Ñuu Savi", "Oaxaca", "Zacatecas"};
    EXPECT_EQ(Rows(kEntidadListQuery), expected);
    EXPECT_EQ(Rows(QStringLiteral("SELECT DISTINCT ESTADO FROM PONENCIAS ORDER BY ESTADO")),
              expected);
    // Left to right: the second column orders rows equal in the first.
    EXPECT_EQ(
        Rows(QStringLiteral("select distinct EJE_TEMATICO, estado from ponencias where "
                            "estado like '%a%' and eje_tematico is not null;")),
        QStringList({"a|cuba", "a|Ñuu Savi", "a|Zacatecas", "b|alamo", "b|Álamo", "b|Oaxaca"}));
}

// The lists the query window fills come so (the subtopics and categories are distinct results too).
TEST_F(RowOrder, UnionOverOverlappingColumnsIsSortedOnce) {
    EXPECT_EQ(Rows(kNormatividadListQuery),
              QStringList({"ley a", "Ley B", "Ley N", "Ley Ñ", "ley z"}));
    // A compound ending in UNION ALL keeps the order its parts give.
    EXPECT_EQ(Rows(QStringLiteral("SELECT ESTADO FROM ponencias WHERE ESTADO = 'zacatecas' UNION "
                                  "SELECT 'Ameca' UNION ALL SELECT 'Alfa'")),
              QStringList({"Ameca", "Zacatecas", "Alfa"}));
}

TEST_F(RowOrder, OwnOrderAndPlainResultsAreLeftAsTheyCome) {
    EXPECT_EQ(Rows(QStringLiteral("SELECT DISTINCT EJE_TEMATICO FROM ponencias ORDER BY "
                                  "EJE_TEMATICO DESC")),
              QStringList({"b", "a"}));
    const QStringList stored = {"Oaxaca", "nuevo león", "~",    "Ñuu Savi",  "Álamo",
                                "",       "alamo",      "cuba", "Zacatecas", "Oaxaca"};
    EXPECT_EQ(Rows(QStringLiteral("SELECT ESTADO FROM ponencias")), stored);
    EXPECT_EQ(Rows(QStringLiteral("SELECT ALL ESTADO FROM ponencias")), stored);
    // The words in a literal, a quoted name, a comment or a subquery are not the statement's.
    EXPECT_EQ(Rows(QStringLiteral("SELECT ESTADO AS \"DISTINCT\" FROM ponencias WHERE ESTADO <> "
                                  "'SELECT DISTINCT x UNION y' -- UNION SELECT 1\n")),
              stored.mid(0, 2) + stored.mid(3));
    EXPECT_EQ(Rows(QStringLiteral("SELECT ESTADO FROM ponencias WHERE ESTADO IN (SELECT DISTINCT "
                                  "ESTADO FROM ponencias UNION SELECT 'x') AND ESTADO LIKE '%a%'")),
              QStringList({"Oaxaca", "Ñuu Savi", "Álamo", "alamo", "cuba", "Zacatecas", "Oaxaca"}));
}

TEST_F(RowOrder, HiddenOrderWordsDoNotStopTheSorting) {
    const QStringList sorted = {"alamo", "Álamo", "Oaxaca"};
    EXPECT_EQ(Rows(QStringLiteral("SELECT DISTINCT ESTADO FROM ponencias /* ORDER BY 1 DESC */ "
                                  "WHERE ESTADO IN ('Oaxaca', ' ORDER BY x', 'Álamo', 'alamo') "
                                  "AND ESTADO NOT IN (SELECT ESTADO FROM ponencias WHERE ESTADO "
                                  "IS NOT NULL ORDER BY 1 LIMIT 0) -- ORDER BY 1 DESC")),
              sorted);
    // Nor does what a WITH holds, or a count of distinct values.
    EXPECT_EQ(Rows(QStringLiteral("WITH x AS (SELECT ESTADO FROM ponencias ORDER BY 1 DESC) "
                                  "SELECT DISTINCT ESTADO FROM x WHERE ESTADO IN ('Oaxaca', "
                                  "'alamo', 'Álamo')")),
              sorted);
    EXPECT_EQ(Rows(QStringLiteral("SELECT COUNT(DISTINCT ESTADO) FROM ponencias")),
              QStringList({"8"}));
    // The limit takes its rows from the sorted result.
    EXPECT_EQ(Rows(QStringLiteral("SELECT DISTINCT ESTADO AS [order] FROM ponencias WHERE ESTADO "
                                  "<> '' LIMIT 3 ;")),
              QStringList({"alamo", "Álamo", "cuba"}));
}

TEST_F(RowOrder, NumbersSortByValueAndTextsAsTexts) {
    TemporaryStore numbers({Row("10"), Row("9"), Row("32"), Row("2"), Row("1")});
    numbers.use();
    EXPECT_EQ(Rows(QStringLiteral("SELECT DISTINCT CAST(ESTADO AS INTEGER) AS n FROM ponencias")),
              QStringList({"1", "2", "9", "10", "32"}));
    // Numbers kept as text sort as the search's ORDER BY sorts them: character by character.
    const QStringList asText = {"1", "10", "2", "32", "9"};
    EXPECT_EQ(Rows(QStringLiteral("SELECT DISTINCT ESTADO FROM ponencias")), asText);
    EXPECT_EQ(Rows(QStringLiteral("SELECT ESTADO FROM ponencias ORDER BY ESTADO")), asText);
}

}  // namespace
