// The dialect the program's SQL is written for: text compares and matches without regard to case
// but with regard to accents, through the same statements the query window and the search send.
#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>
#include <string>
#include <vector>

#include "query/QueryFilters.h"
#include "store/JetDialect.h"
#include "store/ProposalStore.h"
#include "support/TestStore.h"

using namespace ponencias;
using ponencias::test::ProposalRow;
using ponencias::test::TemporaryStore;

namespace {

QStringList Column(const QString& sql, const QString& field) {
    QStringList values;
    OpenProposalStore();
    ForEachRow(sql, [&](const Recordset& rows) { values << rows.Fields(field).Text(); });
    ReleaseProposalStore();
    return values;
}

int Count(const QString& where) {
    return Column(QStringLiteral("SELECT COUNT(*) AS n FROM ponencias ") + where,
                  QStringLiteral("n"))
        .value(0)
        .toInt();
}

class DialectStore : public ::testing::Test {
protected:
    void SetUp() override { store_.use(); }
    void TearDown() override { ReleaseProposalStore(); }

    static ProposalRow Row(const QString& folio, const QString& estado, const QString& eje,
                           const QString& subtema, const QString& resumen) {
        return {{"FOLIO", folio},     {"ID", folio},
                {"ESTADO", estado},   {"EJE_TEMATICO", eje},
                {"SUBTEMA", subtema}, {"RESUMEN", resumen},
                {"NUM_JORNADA", "3"}, {"PERFIL_PONENTE", "Ciudadano"}};
    }

    TemporaryStore store_{{
        Row("F1", "México", "Participación ciudadana", "Consulta popular",
            "Propone que el voto nulo cuente."),
        Row("F2", "MÉXICO", "participación ciudadana", "Plebiscito", "Sin VOTO NULO alguno."),
        Row("F3", "Mexico", "Órganos electorales", "Consejo general", "Habla del voto, y nulo."),
        Row("F4", "", "Árbitros", "", "Nada."),
        {{"FOLIO", "F5"},
         {"ESTADO", QVariant()},
         {"EJE_TEMATICO", "Zonas"},
         {"NORMATIVIDAD_MODIFICAR_2", "Ley General de Población"},
         {"NORMATIVIDAD_MODIFICAR_1", "No aplica"}},
        {{"FOLIO", "F6"},
         {"ESTADO", "Jalisco"},
         {"EJE_TEMATICO", "Zonas"},
         {"NORMATIVIDAD_MODIFICAR_4", "LEY GENERAL DE POBLACIÓN"},
         {"NORMATIVIDAD_MODIFICAR_1", "NO APLICA"},
         {"NORMATIVIDAD_MODIFICAR_3", ""},
         {"NORMATIVIDAD_MODIFICAR_5", "Código Penal Federal"}},
    }};
};

}  // namespace

TEST(JetCompare, IgnoresCaseButNotAccents) {
    EXPECT_EQ(JetCompare("MÉXICO", "México"), 0);
    EXPECT_EQ(JetCompare("ñandú", "ÑANDÚ"), 0);
    EXPECT_NE(JetCompare("Mexico", "México"), 0);
    EXPECT_NE(JetCompare("nandu", "ñandú"), 0);
    EXPECT_LT(JetCompare("Mexico", "México"), 0);  // unaccented first among equals but for accents
    EXPECT_LT(JetCompare("abc", "abcd"), 0);
}

TEST(JetCompare, SortsAccentedLettersBesideTheirBaseLetter) {
    std::vector<std::string> words = {"Oso", "Ñandú", "azul", "Nube", "Órgano", "árbol", "Arena"};
    std::sort(words.begin(), words.end(),
              [](const std::string& a, const std::string& b) { return JetCompare(a, b) < 0; });
    const std::vector<std::string> expected = {"árbol", "Arena",  "azul", "Nube",
                                               "Ñandú", "Órgano", "Oso"};
    EXPECT_EQ(words, expected);
}

TEST(JetLike, WildcardsCaseAndAccents) {
    EXPECT_TRUE(JetLike("%méx%", "Ciudad de MÉXICO"));
    EXPECT_FALSE(JetLike("%méx%", "Ciudad de Mexico"));
    EXPECT_TRUE(JetLike("M_xico", "México"));  // "_" is one character, not one byte
    EXPECT_FALSE(JetLike("M_xico", "Mxico"));
    EXPECT_TRUE(JetLike("%voto nulo%", "El VOTO NULO cuenta"));
    EXPECT_FALSE(JetLike("%voto nulo%", "El voto  nulo cuenta"));
    EXPECT_TRUE(JetLike("%", ""));
    EXPECT_TRUE(JetLike("a%b%c", "aXXbYYc"));
    EXPECT_FALSE(JetLike("a%b%c", "aXXbYYcZ"));
    EXPECT_TRUE(JetLike("%b%b", "abab"));
    EXPECT_FALSE(JetLike("abc", "abcd"));
    EXPECT_TRUE(JetLike("100!%", "100%", U'!'));
    EXPECT_FALSE(JetLike("100!%", "1000", U'!'));
}

TEST(JetLike, LongAndAdversarialPatternsStayFast) {
    // Exponential backtracking would never finish these; the test program's time-out catches it.
    std::string text(5000, 'a');
    std::string pattern;
    for (int i = 0; i < 2000; ++i) {
        pattern += "%a";
    }
    pattern += "%b";
    EXPECT_FALSE(JetLike(pattern, text));
    const std::string keyword(100000, 'x');
    EXPECT_FALSE(JetLike("%" + keyword + "%", std::string(400, 'x')));
    EXPECT_TRUE(JetLike("%" + keyword + "%", "<" + keyword + ">"));
    // Through a statement, with the other hostile values: HostileSearch.
}

TEST_F(DialectStore, TopLevelListsMergeCaseVariantsOnly) {
    const QStringList estados = Column(kEntidadListQuery, "entidades");
    // "México" and "MÉXICO" are one entry; "Mexico" is another; null and '' stay two entries.
    EXPECT_EQ(estados.size(), 5) << estados.join(u'|').toStdString();
    EXPECT_EQ(estados.count(QString()), 2);
    EXPECT_EQ(estados.filter(QStringLiteral("xico"), Qt::CaseInsensitive).size(), 2);

    const QStringList ejes = Column(kEjeListQuery, "eje_tematico");
    ASSERT_EQ(ejes.size(), 4);
    EXPECT_EQ(ejes[0], QStringLiteral("Árbitros"));
    EXPECT_EQ(ejes[1], QStringLiteral("Órganos electorales"));
    EXPECT_EQ(ejes[2].toLower(), QStringLiteral("participación ciudadana"));
    EXPECT_EQ(ejes[3], QStringLiteral("Zonas"));
}

TEST_F(DialectStore, LawListLeavesOutEmptyAndNoAplicaAndNamesEachLawOnce) {
    const QStringList laws = Column(kNormatividadListQuery, "NORMATIVIDAD_MODIFICAR_1");
    // Column 2 of one proposal and column 4 of another (in capitals) name the same law.
    ASSERT_EQ(laws.size(), 2) << laws.join(u'|').toStdString();
    EXPECT_TRUE(laws.contains(QStringLiteral("Código Penal Federal")));
    EXPECT_EQ(laws.filter(QStringLiteral("población"), Qt::CaseInsensitive).size(), 1);
}

TEST_F(DialectStore, SearchConditionsAndKeyword) {
    EXPECT_EQ(Count(QStringLiteral("WHERE ESTADO = 'méxico'")), 2);
    EXPECT_EQ(Count(QStringLiteral("WHERE ESTADO <> ''")), 4);  // null <> '' is not true
    EXPECT_EQ(Count(QStringLiteral("WHERE ESTADO IN ('MEXICO')")), 1);
    EXPECT_EQ(Count(QStringLiteral("WHERE (RESUMEN like '%voto%nulo%')")), 3);
    EXPECT_EQ(Count(QStringLiteral("WHERE (RESUMEN like '%vot_ nulo%')")), 2);
    EXPECT_EQ(Count(QStringLiteral("WHERE (RESUMEN like '%   %')")), 0);
    EXPECT_EQ(Count(QStringLiteral("WHERE NUM_JORNADA = '3' AND (NORMATIVIDAD_MODIFICAR_1 = "
                                   "'x' OR NORMATIVIDAD_MODIFICAR_2 ='x')")),
              0);
}
