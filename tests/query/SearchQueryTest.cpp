// The search text, character for character: the worked examples, the blanks between the
// pieces, which criteria apply, and values that are hostile to SQL.
#include <gtest/gtest.h>

#include "query/SearchQuery.h"

namespace ponencias {
namespace {

const QString kSelect = QStringLiteral(
    "SELECT FOLIO,ID,ESTADO,EDAD,SEXO,PERFIL_PONENTE,NUM_JORNADA,EJE_TEMATICO,SUBTEMA,CATEGORIA_"
    "SUBTEMA,TITULO,RESUMEN,NORMATIVIDAD_MODIFICAR_1,NORMATIVIDAD_MODIFICAR_2,NORMATIVIDAD_"
    "MODIFICAR_3,NORMATIVIDAD_MODIFICAR_4 FROM ponencias ");
const QString kOrder =
    QStringLiteral(" ORDER BY NUM_JORNADA, EJE_TEMATICO, SUBTEMA, CATEGORIA_SUBTEMA");

QString Law(const QString& head, const QString& v, const QString& tail) {
    return head +
           QStringLiteral(
               "(NORMATIVIDAD_MODIFICAR_1 = '%1' OR NORMATIVIDAD_MODIFICAR_2 ='%1' "
               "OR NORMATIVIDAD_MODIFICAR_3 ='%1' OR NORMATIVIDAD_MODIFICAR_4 ='%1' "
               "OR NORMATIVIDAD_MODIFICAR_5 ='%1')")
               .arg(v) +
           tail;
}

ListChoice Entry(const char* text) {
    return ListChoice{3, QString::fromUtf8(text)};
}

TEST(SearchQuery, WorkedExamples) {
    EXPECT_EQ(BuildSearchQuery(SearchCriteria{}), kSelect + kOrder);  // two blanks before ORDER

    SearchCriteria stateAndKeyword;
    stateAndKeyword.Entidad = Entry("Jalisco");
    stateAndKeyword.Palabra = QStringLiteral("voto nulo");
    EXPECT_EQ(BuildSearchQuery(stateAndKeyword),
              kSelect + " WHERE ESTADO = 'Jalisco' AND (RESUMEN like '%voto nulo%') " + kOrder);

    SearchCriteria eventAndLaw;
    eventAndLaw.Jornada = Entry("3");
    eventAndLaw.Normatividad = Entry("COFIPE");
    EXPECT_EQ(BuildSearchQuery(eventAndLaw),
              kSelect + "WHERE NUM_JORNADA = '3' " + Law(" AND ", "COFIPE", "") + kOrder);

    SearchCriteria keywordOnly;
    keywordOnly.Palabra = QStringLiteral("voto");
    EXPECT_EQ(BuildSearchQuery(keywordOnly), kSelect + "WHERE (RESUMEN like '%voto%') " + kOrder);

    SearchCriteria lawOnly;
    lawOnly.Normatividad = Entry("Ley X");
    EXPECT_EQ(BuildSearchQuery(lawOnly), kSelect + Law(" WHERE ", "Ley X", " ") + kOrder);
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
    EXPECT_EQ(BuildSearchQuery(all),
              kSelect +
                  "WHERE NUM_JORNADA = '1'  AND ESTADO = 'E' AND EJE_TEMATICO = 'A' AND SUBTEMA = "
                  "'S' AND CATEGORIA_SUBTEMA = 'C' AND PERFIL_PONENTE = 'P'" +
                  Law(" AND ", "N", "") + " AND (RESUMEN like '%K%') " + kOrder);

    SearchCriteria categoryFirst;
    categoryFirst.Categoria = QStringLiteral("C");
    categoryFirst.Perfil = Entry("P");
    EXPECT_EQ(BuildSearchQuery(categoryFirst),
              kSelect + " WHERE CATEGORIA_SUBTEMA = 'C' AND PERFIL_PONENTE = 'P'" + kOrder);
}

TEST(SearchQuery, WhichCriteriaApply) {
    // A list with no selection applies, with an empty value; a list is judged by index alone.
    SearchCriteria criteria;
    criteria.Jornada = ListChoice{-1, QString()};
    criteria.Entidad = ListChoice{-1, QString()};
    criteria.Perfil = ListChoice{0, QStringLiteral("Ciudadano")};
    EXPECT_EQ(BuildSearchQuery(criteria),
              kSelect + "WHERE NUM_JORNADA = ''  AND ESTADO = ''" + kOrder);

    // The combos are judged by their exact text: empty, another case or no accent all apply.
    SearchCriteria combos;
    combos.Subtema = QString();
    EXPECT_EQ(BuildSearchQuery(combos), kSelect + " WHERE SUBTEMA = ''" + kOrder);
    combos.Subtema = QStringLiteral("todos los subtemas");
    combos.Categoria = QStringLiteral("Todas las categorias");
    EXPECT_EQ(BuildSearchQuery(combos), kSelect +
                                            " WHERE SUBTEMA = 'todos los subtemas' AND "
                                            "CATEGORIA_SUBTEMA = 'Todas las categorias'" +
                                            kOrder);

    // Blanks are a keyword; the keyword is one pattern, never split into words.
    SearchCriteria blanks;
    blanks.Palabra = QStringLiteral("   ");
    EXPECT_EQ(BuildSearchQuery(blanks), kSelect + "WHERE (RESUMEN like '%   %') " + kOrder);
}

TEST(SearchQuery, ApostrophesAreDoubledAndNothingElseChanges) {
    SearchCriteria criteria;
    criteria.Jornada = Entry("1'");
    criteria.Entidad = Entry("O'Higgins");
    criteria.Subtema = QStringLiteral("''");
    criteria.Normatividad = Entry("Ley 'X'");
    criteria.Palabra = QStringLiteral("it's");
    EXPECT_EQ(BuildSearchQuery(criteria), kSelect +
                                              "WHERE NUM_JORNADA = '1''' "
                                              " AND ESTADO = 'O''Higgins' AND SUBTEMA = ''''''" +
                                              Law(" AND ", "Ley ''X''", "") +
                                              " AND (RESUMEN like '%it''s%') " + kOrder);

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
        EXPECT_EQ(BuildSearchQuery(plain), kSelect + " WHERE SUBTEMA = '" + value +
                                               "' AND (RESUMEN like '%" + value + "%') " + kOrder);
    }
}

}  // namespace
}  // namespace ponencias
