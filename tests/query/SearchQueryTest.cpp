// The search text for given window states, each compared whole with the text the query window
// must send: the worked examples, the blanks between the pieces, which criteria apply, and values
// that are hostile to SQL.
#include <gtest/gtest.h>

#include "query/SearchQuery.h"

namespace ponencias {
namespace {

ListChoice Entry(const char* text) {
    return ListChoice{3, QString::fromUtf8(text)};
}

QString Query(const SearchCriteria& criteria) {
    return BuildSearchQuery(criteria);
}

TEST(SearchQuery, WorkedExamples) {
    // Nothing chosen: two blanks between "ponencias" and ORDER.
    EXPECT_EQ(Query(SearchCriteria{}),
              "SELECT FOLIO,ID,ESTADO,EDAD,SEXO,PERFIL_PONENTE,NUM_JORNADA,EJE_TEMATICO,SUBTEMA,"
              "CATEGORIA_SUBTEMA,TITULO,RESUMEN,NORMATIVIDAD_MODIFICAR_1,NORMATIVIDAD_MODIFICAR_2,"
              "NORMATIVIDAD_MODIFICAR_3,NORMATIVIDAD_MODIFICAR_4 FROM ponencias  ORDER BY "
              "NUM_JORNADA, EJE_TEMATICO, SUBTEMA, CATEGORIA_SUBTEMA");

    SearchCriteria stateAndKeyword;
    stateAndKeyword.Entidad = Entry("Jalisco");
    stateAndKeyword.Palabra = QStringLiteral("voto nulo");
    EXPECT_EQ(Query(stateAndKeyword),
              "SELECT FOLIO,ID,ESTADO,EDAD,SEXO,PERFIL_PONENTE,NUM_JORNADA,EJE_TEMATICO,SUBTEMA,"
              "CATEGORIA_SUBTEMA,TITULO,RESUMEN,NORMATIVIDAD_MODIFICAR_1,NORMATIVIDAD_MODIFICAR_2,"
              "NORMATIVIDAD_MODIFICAR_3,NORMATIVIDAD_MODIFICAR_4 FROM ponencias  WHERE ESTADO = "
              "'Jalisco' AND (RESUMEN like '%voto nulo%')  ORDER BY NUM_JORNADA, EJE_TEMATICO, "
              "SUBTEMA, CATEGORIA_SUBTEMA");

    SearchCriteria eventAndLaw;
    eventAndLaw.Jornada = Entry("3");
    eventAndLaw.Normatividad = Entry("COFIPE");
    EXPECT_EQ(Query(eventAndLaw),
              "SELECT FOLIO,ID,ESTADO,EDAD,SEXO,PERFIL_PONENTE,NUM_JORNADA,EJE_TEMATICO,SUBTEMA,"
              "CATEGORIA_SUBTEMA,TITULO,RESUMEN,NORMATIVIDAD_MODIFICAR_1,NORMATIVIDAD_MODIFICAR_2,"
              "NORMATIVIDAD_MODIFICAR_3,NORMATIVIDAD_MODIFICAR_4 FROM ponencias WHERE NUM_JORNADA "
              "= '3'  AND (NORMATIVIDAD_MODIFICAR_1 = 'COFIPE' OR NORMATIVIDAD_MODIFICAR_2 "
              "='COFIPE' OR NORMATIVIDAD_MODIFICAR_3 ='COFIPE' OR NORMATIVIDAD_MODIFICAR_4 "
              "='COFIPE' OR NORMATIVIDAD_MODIFICAR_5 ='COFIPE') ORDER BY NUM_JORNADA, "
              "EJE_TEMATICO, SUBTEMA, CATEGORIA_SUBTEMA");

    SearchCriteria keywordOnly;
    keywordOnly.Palabra = QStringLiteral("voto");
    EXPECT_EQ(Query(keywordOnly),
              "SELECT FOLIO,ID,ESTADO,EDAD,SEXO,PERFIL_PONENTE,NUM_JORNADA,EJE_TEMATICO,SUBTEMA,"
              "CATEGORIA_SUBTEMA,TITULO,RESUMEN,NORMATIVIDAD_MODIFICAR_1,NORMATIVIDAD_MODIFICAR_2,"
              "NORMATIVIDAD_MODIFICAR_3,NORMATIVIDAD_MODIFICAR_4 FROM ponencias WHERE (RESUMEN "
              "like '%voto%')  ORDER BY NUM_JORNADA, EJE_TEMATICO, SUBTEMA, CATEGORIA_SUBTEMA");

    // The law alone: its WHERE form ends ") ", so two blanks stand before ORDER.
    SearchCriteria lawOnly;
    lawOnly.Normatividad = Entry("Ley X");
    EXPECT_EQ(Query(lawOnly),
              "SELECT FOLIO,ID,ESTADO,EDAD,SEXO,PERFIL_PONENTE,NUM_JORNADA,EJE_TEMATICO,SUBTEMA,"
              "CATEGORIA_SUBTEMA,TITULO,RESUMEN,NORMATIVIDAD_MODIFICAR_1,NORMATIVIDAD_MODIFICAR_2,"
              "NORMATIVIDAD_MODIFICAR_3,NORMATIVIDAD_MODIFICAR_4 FROM ponencias  WHERE "
              "(NORMATIVIDAD_MODIFICAR_1 = 'Ley X' OR NORMATIVIDAD_MODIFICAR_2 ='Ley X' OR "
              "NORMATIVIDAD_MODIFICAR_3 ='Ley X' OR NORMATIVIDAD_MODIFICAR_4 ='Ley X' OR "
              "NORMATIVIDAD_MODIFICAR_5 ='Ley X')  ORDER BY NUM_JORNADA, EJE_TEMATICO, SUBTEMA, "
              "CATEGORIA_SUBTEMA");
}

TEST(SearchQuery, FirstApplyingCriterionTakesTheWhereForm) {
    SearchCriteria all;
    all.Jornada = Entry("1");
    all.Entidad = Entry("E");
    all.EjeTematico = Entry("A");
    all.Subtema = QStringLiteral("S");
    all.Categoria = QStringLiteral("C");
    all.Perfil = Entry("P");
    all.Normatividad = Entry("N");
    all.Palabra = QStringLiteral("K");
    EXPECT_EQ(Query(all),
              "SELECT FOLIO,ID,ESTADO,EDAD,SEXO,PERFIL_PONENTE,NUM_JORNADA,EJE_TEMATICO,SUBTEMA,"
              "CATEGORIA_SUBTEMA,TITULO,RESUMEN,NORMATIVIDAD_MODIFICAR_1,NORMATIVIDAD_MODIFICAR_2,"
              "NORMATIVIDAD_MODIFICAR_3,NORMATIVIDAD_MODIFICAR_4 FROM ponencias WHERE NUM_JORNADA "
              "= '1'  AND ESTADO = 'E' AND EJE_TEMATICO = 'A' AND SUBTEMA = 'S' AND "
              "CATEGORIA_SUBTEMA = 'C' AND PERFIL_PONENTE = 'P' AND (NORMATIVIDAD_MODIFICAR_1 = "
              "'N' OR NORMATIVIDAD_MODIFICAR_2 ='N' OR NORMATIVIDAD_MODIFICAR_3 ='N' OR "
              "NORMATIVIDAD_MODIFICAR_4 ='N' OR NORMATIVIDAD_MODIFICAR_5 ='N') AND (RESUMEN like "
              "'%K%')  ORDER BY NUM_JORNADA, EJE_TEMATICO, SUBTEMA, CATEGORIA_SUBTEMA");

    SearchCriteria categoryFirst;
    categoryFirst.Categoria = QStringLiteral("C");
    categoryFirst.Perfil = Entry("P");
    EXPECT_EQ(Query(categoryFirst),
              "SELECT FOLIO,ID,ESTADO,EDAD,SEXO,PERFIL_PONENTE,NUM_JORNADA,EJE_TEMATICO,SUBTEMA,"
              "CATEGORIA_SUBTEMA,TITULO,RESUMEN,NORMATIVIDAD_MODIFICAR_1,NORMATIVIDAD_MODIFICAR_2,"
              "NORMATIVIDAD_MODIFICAR_3,NORMATIVIDAD_MODIFICAR_4 FROM ponencias  WHERE "
              "CATEGORIA_SUBTEMA = 'C' AND PERFIL_PONENTE = 'P' ORDER BY NUM_JORNADA, "
              "EJE_TEMATICO, SUBTEMA, CATEGORIA_SUBTEMA");
}

TEST(SearchQuery, WhichCriteriaApply) {
    // A list with no selection applies, with an empty value; a list is judged by index alone.
    SearchCriteria criteria;
    criteria.Jornada = ListChoice{-1, QString()};
    criteria.Entidad = ListChoice{-1, QString()};
    criteria.Perfil = ListChoice{0, QStringLiteral("Ciudadano")};
    EXPECT_EQ(Query(criteria),
              "SELECT FOLIO,ID,ESTADO,EDAD,SEXO,PERFIL_PONENTE,NUM_JORNADA,EJE_TEMATICO,SUBTEMA,"
              "CATEGORIA_SUBTEMA,TITULO,RESUMEN,NORMATIVIDAD_MODIFICAR_1,NORMATIVIDAD_MODIFICAR_2,"
              "NORMATIVIDAD_MODIFICAR_3,NORMATIVIDAD_MODIFICAR_4 FROM ponencias WHERE NUM_JORNADA "
              "= ''  AND ESTADO = '' ORDER BY NUM_JORNADA, EJE_TEMATICO, SUBTEMA, "
              "CATEGORIA_SUBTEMA");

    // The combos are judged by their exact text: empty, another case or no accent all apply.
    SearchCriteria combos;
    combos.Subtema = QString();
    EXPECT_EQ(Query(combos),
              "SELECT FOLIO,ID,ESTADO,EDAD,SEXO,PERFIL_PONENTE,NUM_JORNADA,EJE_TEMATICO,SUBTEMA,"
              "CATEGORIA_SUBTEMA,TITULO,RESUMEN,NORMATIVIDAD_MODIFICAR_1,NORMATIVIDAD_MODIFICAR_2,"
              "NORMATIVIDAD_MODIFICAR_3,NORMATIVIDAD_MODIFICAR_4 FROM ponencias  WHERE SUBTEMA = "
              "'' ORDER BY NUM_JORNADA, EJE_TEMATICO, SUBTEMA, CATEGORIA_SUBTEMA");
    combos.Subtema = QStringLiteral("todos los subtemas");
    combos.Categoria = QStringLiteral("Todas las categorias");
    EXPECT_EQ(Query(combos),
              "SELECT FOLIO,ID,ESTADO,EDAD,SEXO,PERFIL_PONENTE,NUM_JORNADA,EJE_TEMATICO,SUBTEMA,"
              "CATEGORIA_SUBTEMA,TITULO,RESUMEN,NORMATIVIDAD_MODIFICAR_1,NORMATIVIDAD_MODIFICAR_2,"
              "NORMATIVIDAD_MODIFICAR_3,NORMATIVIDAD_MODIFICAR_4 FROM ponencias  WHERE SUBTEMA = "
              "'todos los subtemas' AND CATEGORIA_SUBTEMA = 'Todas las categorias' ORDER BY "
              "NUM_JORNADA, EJE_TEMATICO, SUBTEMA, CATEGORIA_SUBTEMA");

    // Blanks are a keyword; the keyword is one pattern, never split into words.
    SearchCriteria blanks;
    blanks.Palabra = QStringLiteral("   ");
    EXPECT_EQ(Query(blanks),
              "SELECT FOLIO,ID,ESTADO,EDAD,SEXO,PERFIL_PONENTE,NUM_JORNADA,EJE_TEMATICO,SUBTEMA,"
              "CATEGORIA_SUBTEMA,TITULO,RESUMEN,NORMATIVIDAD_MODIFICAR_1,NORMATIVIDAD_MODIFICAR_2,"
              "NORMATIVIDAD_MODIFICAR_3,NORMATIVIDAD_MODIFICAR_4 FROM ponencias WHERE (RESUMEN "
              "like '%   %')  ORDER BY NUM_JORNADA, EJE_TEMATICO, SUBTEMA, CATEGORIA_SUBTEMA");
}

TEST(SearchQuery, ApostrophesAreDoubledAndNothingElseChanges) {
    SearchCriteria criteria;
    criteria.Jornada = Entry("1'");
    criteria.Entidad = Entry("O'Higgins");
    criteria.Subtema = QStringLiteral("''");
    criteria.Normatividad = Entry("Ley 'X'");
    criteria.Palabra = QStringLiteral("it's");
    EXPECT_EQ(Query(criteria),
              "SELECT FOLIO,ID,ESTADO,EDAD,SEXO,PERFIL_PONENTE,NUM_JORNADA,EJE_TEMATICO,SUBTEMA,"
              "CATEGORIA_SUBTEMA,TITULO,RESUMEN,NORMATIVIDAD_MODIFICAR_1,NORMATIVIDAD_MODIFICAR_2,"
              "NORMATIVIDAD_MODIFICAR_3,NORMATIVIDAD_MODIFICAR_4 FROM ponencias WHERE NUM_JORNADA "
              "= '1'''  AND ESTADO = 'O''Higgins' AND SUBTEMA = '''''' AND "
              "(NORMATIVIDAD_MODIFICAR_1 = 'Ley ''X''' OR NORMATIVIDAD_MODIFICAR_2 ='Ley ''X''' "
              "OR NORMATIVIDAD_MODIFICAR_3 ='Ley ''X''' OR NORMATIVIDAD_MODIFICAR_4 ='Ley ''X''' "
              "OR NORMATIVIDAD_MODIFICAR_5 ='Ley ''X''') AND (RESUMEN like '%it''s%')  ORDER BY "
              "NUM_JORNADA, EJE_TEMATICO, SUBTEMA, CATEGORIA_SUBTEMA");

    // Pattern characters, backslashes, control characters, NUL, emoji and a very long text
    // stand in the text exactly as given.
    const QString hostile[] = {
        QStringLiteral("100%_x"),
        QStringLiteral("back\\slash\\"),
        QStringLiteral("tab\there\nline\rend") + QChar(0) + QChar(0x7F),
        QStringLiteral("\U0001F5F3\uFE0F voto"),
        QString(100000, QLatin1Char('a')),
    };
    for (const QString& value : hostile) {
        SearchCriteria plain;
        plain.Subtema = value;
        plain.Palabra = value;
        EXPECT_EQ(Query(plain),
                  "SELECT FOLIO,ID,ESTADO,EDAD,SEXO,PERFIL_PONENTE,NUM_JORNADA,EJE_TEMATICO,"
                  "SUBTEMA,CATEGORIA_SUBTEMA,TITULO,RESUMEN,NORMATIVIDAD_MODIFICAR_1,"
                  "NORMATIVIDAD_MODIFICAR_2,NORMATIVIDAD_MODIFICAR_3,NORMATIVIDAD_MODIFICAR_4 FROM "
                  "ponencias  WHERE SUBTEMA = '" +
                      value + "' AND (RESUMEN like '%" + value +
                      "%')  ORDER BY NUM_JORNADA, EJE_TEMATICO, SUBTEMA, CATEGORIA_SUBTEMA");
    }
}

}  // namespace
}  // namespace ponencias
