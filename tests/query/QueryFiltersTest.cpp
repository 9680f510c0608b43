// The query window's logic without a display: the loading of the lists, the topic cascade, the
// Clear command and the search, over a small store built for each rule.
#include <gtest/gtest.h>

#include "QueryFixture.h"
#include "query/MemoryQueryControls.h"
#include "store/ProposalStore.h"
#include "store/StoreError.h"
#include "support/SearchReference.h"

namespace ponencias {
namespace {

bool StoreReleased() {
    return !ProposalConnection && !ProposalRecordset;
}

class QueryFiltersTest : public ::testing::Test {
protected:
    void SetUp() override { store_.use(); }
    void load() { controls.Load(); }
    void choose(ListControl& list, const char* text) {
        const int index = int(static_cast<MemoryListControl&>(list).Items().indexOf(text));
        ASSERT_GE(index, 0) << text;
        list.SetListIndex(index);
    }
    QString query() const { return filters.SearchQueryText(); }

    test::TemporaryStore store_{test::QueryRows()};
    MemoryQueryControls controls;
    MemoryListControl& jornada = controls.JornadaCbo;
    MemoryListControl& entidad = controls.EntidadCbo;
    MemoryListControl& eje = controls.EjeTemCbo;
    MemoryListControl& subtema = controls.SubtemaCbo;
    MemoryListControl& categoria = controls.CatSubTemaCbo;
    MemoryListControl& perfil = controls.PerfilPonCbo;
    MemoryListControl& normatividad = controls.NormatividadCbo;
    MemoryTextControl& palabra = controls.BusquedaTxt;
    QueryFilters& filters = controls.Filters;
};

TEST_F(QueryFiltersTest, LoadingFillsTheFiveListsHeadedByTheirAllEntries) {
    load();
    EXPECT_EQ(jornada.Items(), QStringList({"Todas las jornadas", "1", "2", "3"}));
    EXPECT_EQ(entidad.Items(), QStringList({"Todas las entidades", "", "Jalisco", "Oaxaca"}));
    EXPECT_EQ(eje.Items(), test::QueryRowsAxes());
    EXPECT_EQ(perfil.Items(), QStringList({"Todos los ponentes", "", "Académico", "Ciudadano"}));
    // A law in two columns is listed once; "" and "No aplica" never are.
    EXPECT_EQ(normatividad.Items(), QStringList({"Todas las normatividades", "COFIPE",
                                                 "Constitución", "Ley de medios", "Ley O'Reilly"}));
    for (const MemoryListControl* list : {&jornada, &entidad, &eje, &perfil, &normatividad}) {
        EXPECT_EQ(list->ListIndex(), 0);
        EXPECT_EQ(list->List(0), list->Text());
    }
    EXPECT_EQ(subtema.ListCount(), 0);
    EXPECT_EQ(subtema.Text(), QStringLiteral("Todos los subtemas"));
    EXPECT_EQ(categoria.ListCount(), 0);
    EXPECT_EQ(categoria.Text(), QStringLiteral("Todas las categorías"));
    EXPECT_EQ(query(), BuildSearchQuery(SearchCriteria{}));

    test::TemporaryStore empty({});
    empty.use();
    load();
    for (const MemoryListControl* list : {&jornada, &entidad, &eje, &perfil, &normatividad}) {
        EXPECT_EQ(list->ListCount(), 1);
    }
}

TEST_F(QueryFiltersTest, TheCascadeFillsAndResetsTheTopicLists) {
    load();
    choose(eje, "Procedimientos electorales");
    EXPECT_EQ(subtema.Items(), QStringList({"Todos los subtemas", "Casillas"}));  // "" left out
    EXPECT_EQ(subtema.Text(), QStringLiteral("Todos los subtemas"));
    EXPECT_EQ(categoria.ListCount(), 0);
    EXPECT_EQ(categoria.Text(), QStringLiteral("Todas las categorías"));
    EXPECT_EQ(eje.FocusRequests(), 1);
    EXPECT_TRUE(StoreReleased());

    // The categories follow the subtopic alone: "Casillas" stands under two axes.
    choose(subtema, "Casillas");
    EXPECT_EQ(categoria.Items(),
              QStringList({"Todas las categorías", "Financiamiento", "Ubicación"}));
    EXPECT_EQ(categoria.ListIndex(), 0);
    EXPECT_EQ(subtema.Text(), QStringLiteral("Casillas"));
    EXPECT_TRUE(StoreReleased());

    subtema.SetListIndex(0);  // only the categories are reset
    EXPECT_EQ(subtema.ListCount(), 2);
    EXPECT_EQ(categoria.ListCount(), 0);

    choose(subtema, "Casillas");
    choose(categoria, "Financiamiento");  // no reaction of its own
    EXPECT_EQ(subtema.ListIndex(), 1);
    eje.SetListIndex(0);  // both reset
    EXPECT_EQ(subtema.ListCount(), 0);
    EXPECT_EQ(subtema.Text(), QStringLiteral("Todos los subtemas"));
    EXPECT_EQ(categoria.ListCount(), 0);
    EXPECT_EQ(categoria.Text(), QStringLiteral("Todas las categorías"));

    choose(eje, "Sin subtemas");
    EXPECT_EQ(subtema.Items(), QStringList({"Todos los subtemas"}));
    EXPECT_EQ(subtema.ListIndex(), 0);

    // The axis with the empty text leaves the subtopics blank and the categories as they were.
    choose(eje, "Procedimientos electorales");
    choose(subtema, "Casillas");
    const QStringList categories = categoria.Items();
    choose(eje, "");
    EXPECT_EQ(subtema.ListCount(), 0);
    EXPECT_EQ(subtema.Text(), QString());
    EXPECT_EQ(categoria.Items(), categories);
    EXPECT_TRUE(StoreReleased());
    EXPECT_TRUE(query().endsWith("WHERE EJE_TEMATICO = '' AND SUBTEMA = ''" +
                                 QStringLiteral(" ORDER BY NUM_JORNADA, EJE_TEMATICO, SUBTEMA, "
                                                "CATEGORIA_SUBTEMA")));
}

TEST_F(QueryFiltersTest, SelectingTheSameEntryInCodeRunsTheReactionAgain) {
    load();
    choose(eje, "Procedimientos electorales");
    subtema.SetText(QStringLiteral("tecleado"));  // typing runs nothing
    EXPECT_EQ(subtema.ListCount(), 2);
    eje.SetListIndex(eje.ListIndex());
    EXPECT_EQ(subtema.Text(), QStringLiteral("Todos los subtemas"));
    EXPECT_EQ(eje.FocusRequests(), 2);
    subtema.SetText(QStringLiteral("tecleado"));
    subtema.SetListIndex(-1);  // no selection: no reaction, the text stays
    EXPECT_EQ(subtema.Text(), QStringLiteral("tecleado"));
    EXPECT_THROW(subtema.SetListIndex(2), std::out_of_range);
}

TEST_F(QueryFiltersTest, ApostrophesAndPatternCharactersFindTheirRows) {
    load();
    choose(eje, "Eje d'O'Neil");
    EXPECT_EQ(subtema.Items(), QStringList({"Todos los subtemas", "Sub d'algo"}));
    choose(subtema, "Sub d'algo");
    EXPECT_EQ(categoria.Items(), QStringList({"Todas las categorías", "Cat l'été"}));
    choose(categoria, "Cat l'été");
    EXPECT_EQ(test::StoreFolios(query()), QStringList({"F5"}));

    filters.ClearCriteria();
    choose(normatividad, "Ley O'Reilly");  // found in the fifth column
    palabra.SetText(QStringLiteral("o'brien"));
    EXPECT_EQ(test::StoreFolios(query()), QStringList({"F4"}));
}

// The search with such values is HostileSearch's; here, the cascade's own statement.
TEST_F(QueryFiltersTest, HostileValuesNeitherCrashNorEscapeTheirQuotes) {
    const QString hostile[] = {
        QStringLiteral("' OR '1'='1"),      QStringLiteral("x'); DROP TABLE PONENCIAS; --"),
        QStringLiteral("back\\slash\\"),    QStringLiteral("tab\tnew\nline\r") + QChar(1),
        QStringLiteral("\U0001F5F3\uFE0F"), QString(100000, QLatin1Char('x')),
    };
    for (const QString& value : hostile) {
        filters.FillSubtemaList(value);
        EXPECT_EQ(subtema.Items(), QStringList({"Todos los subtemas"}))
            << value.left(40).toStdString();
        EXPECT_TRUE(StoreReleased());
    }
    // The table is untouched.
    EXPECT_EQ(test::StoreFolios(BuildSearchQuery(SearchCriteria{})).size(), 7);
}

TEST_F(QueryFiltersTest, ClearPutsEveryCriterionBackSoASearchAsksForEverything) {
    load();
    choose(jornada, "2");
    choose(entidad, "Oaxaca");
    choose(eje, "Procedimientos electorales");
    choose(subtema, "Casillas");
    choose(categoria, "Ubicación");
    choose(perfil, "Ciudadano");
    choose(normatividad, "COFIPE");
    palabra.SetText(QStringLiteral("voto"));
    filters.ClearCriteria();
    for (const MemoryListControl* list : {&jornada, &entidad, &eje, &perfil, &normatividad}) {
        EXPECT_EQ(list->ListIndex(), 0);
        EXPECT_GT(list->ListCount(), 1);
    }
    for (const MemoryListControl* combo : {&subtema, &categoria}) {
        EXPECT_EQ(combo->ListCount(), 0);
        EXPECT_EQ(combo->ListIndex(), -1);
    }
    EXPECT_EQ(subtema.Text(), QStringLiteral("Todos los subtemas"));
    EXPECT_EQ(categoria.Text(), QStringLiteral("Todas las categorías"));
    EXPECT_EQ(palabra.Text(), QString());

    EXPECT_EQ(query(), BuildSearchQuery(SearchCriteria{}));
}

}  // namespace
}  // namespace ponencias
