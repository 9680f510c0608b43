// The search text for given window states, each compared whole with the text the query window
// must send: the worked examples, the blanks between the pieces, which criteria apply, and values
// that are hostile to SQL.
#include <gtest/gtest.h>

#include <functional>

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
    return QStringLiteral("(NORMATIVIDAD_MODIFICAR_1 = '%1' OR NORMATIVIDAD_MODIFICAR_2 ='%1' OR "
                          "NORMATIVIDAD_MODIFICAR_3 ='%1' OR NORMATIVIDAD_MODIFICAR_4 ='%1' OR "
                          "NORMATIVIDAD_MODIFICAR_5 ='%1')")
        .arg(law);
}

SearchCriteria With(const std::function<void(SearchCriteria&)>& set) {
    SearchCriteria criteria;
    set(criteria);
    return criteria;
}

struct QueryCase {
    const char* what;
    SearchCriteria criteria;
    QString between;  // the text between kSelect and kOrder
};

TEST(SearchQuery, EachWindowStateGivesItsExactText) {
    const QueryCase cases[] = {
        {"nothing chosen: two blanks before ORDER", {}, "  "},
        {"state and keyword", With([](SearchCriteria& c) {
             c.Entidad = Entry("Jalisco");
             c.Palabra = QStringLiteral("voto nulo");
         }),
         "  WHERE ESTADO = 'Jalisco' AND (RESUMEN like '%voto nulo%')  "},
        {"event and law", With([](SearchCriteria& c) {
             c.Jornada = Entry("3");
             c.Normatividad = Entry("COFIPE");
         }),
         " WHERE NUM_JORNADA = '3'  AND " + LawCondition("COFIPE") + " "},
        {"keyword alone", With([](SearchCriteria& c) { c.Palabra = QStringLiteral("voto"); }),
         " WHERE (RESUMEN like '%voto%')  "},
        {"law alone: its form ends with a blank",
         With([](SearchCriteria& c) { c.Normatividad = Entry("Ley X"); }),
         "  WHERE " + LawCondition("Ley X") + "  "},
        {"every criterion", With([](SearchCriteria& c) {
             c.Jornada = Entry("1");
             c.Entidad = Entry("E");
             c.EjeTematico = Entry("A");
             c.Subtema = QStringLiteral("S");
             c.Categoria = QStringLiteral("C");
             c.Perfil = Entry("P");
             c.Normatividad = Entry("N");
             c.Palabra = QStringLiteral("K");
         }),
         " WHERE NUM_JORNADA = '1'  AND ESTADO = 'E' AND EJE_TEMATICO = 'A' AND SUBTEMA = 'S' AND "
         "CATEGORIA_SUBTEMA = 'C' AND PERFIL_PONENTE = 'P' AND " +
             LawCondition("N") + " AND (RESUMEN like '%K%')  "},
        {"the category first", With([](SearchCriteria& c) {
             c.Categoria = QStringLiteral("C");
             c.Perfil = Entry("P");
         }),
         "  WHERE CATEGORIA_SUBTEMA = 'C' AND PERFIL_PONENTE = 'P' "},
        // A list with no selection applies, with an empty value; a list is judged by index alone.
        {"lists without a selection", With([](SearchCriteria& c) {
             c.Jornada = ListChoice{-1, QString()};
             c.Entidad = ListChoice{-1, QString()};
             c.Perfil = ListChoice{0, QStringLiteral("Ciudadano")};
         }),
         " WHERE NUM_JORNADA = ''  AND ESTADO = '' "},
        // The combos are judged by their exact text: empty, another case or no accent all apply.
        {"an empty subtopic", With([](SearchCriteria& c) { c.Subtema = QString(); }),
         "  WHERE SUBTEMA = '' "},
        {"all-entries in another case", With([](SearchCriteria& c) {
             c.Subtema = QStringLiteral("todos los subtemas");
             c.Categoria = QStringLiteral("Todas las categorias");
         }),
         "  WHERE SUBTEMA = 'todos los subtemas' AND CATEGORIA_SUBTEMA = 'Todas las categorias' "},
        // Blanks are a keyword; the keyword is one pattern, never split into words.
        {"blanks", With([](SearchCriteria& c) { c.Palabra = QStringLiteral("   "); }),
         " WHERE (RESUMEN like '%   %')  "},
        {"apostrophes doubled", With([](SearchCriteria& c) {
             c.Jornada = Entry("1'");
             c.Entidad = Entry("O'Higgins");
             c.Subtema = QStringLiteral("''");
             c.Normatividad = Entry("Ley 'X'");
             c.Palabra = QStringLiteral("it's");
         }),
         " WHERE NUM_JORNADA = '1'''  AND ESTADO = 'O''Higgins' AND SUBTEMA = '''''' AND " +
             LawCondition("Ley ''X''") + " AND (RESUMEN like '%it''s%')  "},
    };
    for (const QueryCase& c : cases) {
        EXPECT_EQ(BuildSearchQuery(c.criteria), kSelect + c.between + kOrder) << c.what;
    }
}

// Pattern characters, backslashes, control characters, NUL, emoji and a very long text stand in
// the text exactly as given.
TEST(SearchQuery, HostileValuesStandInTheTextAsGiven) {
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
        EXPECT_EQ(BuildSearchQuery(plain), kSelect + "  WHERE SUBTEMA = '" + value +
                                               "' AND (RESUMEN like '%" + value + "%')  " + kOrder);
    }
}

}  // namespace
}  // namespace ponencias
