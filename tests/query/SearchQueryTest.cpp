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

// Every search text starts and ends alike; what stands between, blanks included, is the test.
const QString kSelect = QStringLiteral(
    "SELECT FOLIO,ID,ESTADO,EDAD,SEXO,PERFIL_PONENTE,NUM_JORNADA,EJE_TEMATICO,SUBTEMA,"
    "CATEGORIA_SUBTEMA,TITULO,RESUMEN,NORMATIVIDAD_MODIFICAR_1,NORMATIVIDAD_MODIFICAR_2,"
    "NORMATIVIDAD_MODIFICAR_3,NORMATIVIDAD_MODIFICAR_4 FROM ponencias");
const QString kOrder =
    QStringLiteral("ORDER BY NUM_JORNADA, EJE_TEMATICO, SUBTEMA, CATEGORIA_SUBTEMA");

QString LawCondition(const QString& law) {
    return QStringLiteral(
               "(NORMATIVIDAD_MODIFICAR_1 = '%1' OR NORMATIVIDAD_MODIFICAR_2 ='%1' OR "
               "NORMATIVIDAD_MODIFICAR_3 ='%1' OR NORMATIVIDAD_MODIFICAR_4 ='%1' OR "
               "NORMATIVIDAD_MODIFICAR_5 ='%1')")
        .arg(law);
}

struct QueryCase {
    const char* what;
    SearchCriteria criteria;
    QString between;  // the text between kSelect and kOrder
};

TEST(SearchQuery, EachWindowStateGivesItsExactText) {
    // Palabra, the last member, has no default of its own: it is named in every case.
    const QueryCase cases[] = {
        {"nothing chosen: two blanks before ORDER", {}, "  "},
        {"state and keyword",
         {.Entidad = Entry("Jalisco"), .Palabra = QStringLiteral("voto nulo")},
         "  WHERE ESTADO = 'Jalisco' AND (RESUMEN like '%voto nulo%')  "},
        {"event and law",
         {.Jornada = Entry("3"), .Normatividad = Entry("COFIPE"), .Palabra = {}},
         " WHERE NUM_JORNADA = '3'  AND " + LawCondition("COFIPE") + " "},
        {"keyword alone", {.Palabra = QStringLiteral("voto")}, " WHERE (RESUMEN like '%voto%')  "},
        {"law alone: its form ends with a blank",
         {.Normatividad = Entry("Ley X"), .Palabra = {}},
         "  WHERE " + LawCondition("Ley X") + "  "},
        {"every criterion",
         {.Jornada = Entry("1"),
          .Entidad = Entry("E"),
          .EjeTematico = Entry("A"),
          .Subtema = QStringLiteral("S"),
          .Categoria = QStringLiteral("C"),
          .Perfil = Entry("P"),
          .Normatividad = Entry("N"),
          .Palabra = QStringLiteral("K")},
         " WHERE NUM_JORNADA = '1'  AND ESTADO = 'E' AND EJE_TEMATICO = 'A' AND SUBTEMA = 'S' AND "
         "CATEGORIA_SUBTEMA = 'C' AND PERFIL_PONENTE = 'P' AND " +
             LawCondition("N") + " AND (RESUMEN like '%K%')  "},
        {"the category first",
         {.Categoria = QStringLiteral("C"), .Perfil = Entry("P"), .Palabra = {}},
         "  WHERE CATEGORIA_SUBTEMA = 'C' AND PERFIL_PONENTE = 'P' "},
        // A list with no selection applies, with an empty value; a list is judged by index alone.
        {"lists without a selection",
         {.Jornada = {-1, QString()},
          .Entidad = {-1, QString()},
          .Perfil = {0, QStringLiteral("Ciudadano")},
          .Palabra = {}},
         " WHERE NUM_JORNADA = ''  AND ESTADO = '' "},
        // The combos are judged by their exact text: empty, another case or no accent all apply.
        {"an empty subtopic", {.Subtema = QString(), .Palabra = {}}, "  WHERE SUBTEMA = '' "},
        {"all-entries in another case",
         {.Subtema = QStringLiteral("todos los subtemas"),
          .Categoria = QStringLiteral("Todas las categorias"),
          .Palabra = {}},
         "  WHERE SUBTEMA = 'todos los subtemas' AND CATEGORIA_SUBTEMA = 'Todas las categorias' "},
        // Blanks are a keyword; the keyword is one pattern, never split into words.
        {"blanks", {.Palabra = QStringLiteral("   ")}, " WHERE (RESUMEN like '%   %')  "},
        {"apostrophes doubled",
         {.Jornada = Entry("1'"),
          .Entidad = Entry("O'Higgins"),
          .Subtema = QStringLiteral("''"),
          .Normatividad = Entry("Ley 'X'"),
          .Palabra = QStringLiteral("it's")},
         " WHERE NUM_JORNADA = '1'''  AND ESTADO = 'O''Higgins' AND SUBTEMA = '''''' AND " +
             LawCondition("Ley ''X''") + " AND (RESUMEN like '%it''s%')  "},
    };
    for (const QueryCase& c : cases) {
        EXPECT_EQ(BuildSearchQuery(c.criteria), kSelect + c.between + kOrder) << c.what;
    }
}

}  // namespace
}  // namespace ponencias
