// ponencias-cli buscar and listas: the same texts and lists as the window, on the command line.
#include <gtest/gtest.h>

#include <QFile>

#include "QueryFixture.h"
#include "export/ResultSheetExport.h"
#include "hardening/CliRunner.h"
#include "query/QueryFilters.h"
#include "query/SearchQuery.h"

namespace ponencias {
namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

CliRun Cli(const QStringList& arguments) {
    const test::CliResult run = test::RunCli(arguments);
    EXPECT_TRUE(run.exitedNormally);
    return {run.exitCode, QString::fromUtf8(run.out), QString::fromUtf8(run.err)};
}

QString Consulta(const QStringList& criteria) {
    const CliRun run =
        Cli(QStringList{QStringLiteral("buscar"), QStringLiteral("--consulta")} + criteria);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    return run.out;
}

TEST(CliQuery, ConsultaPrintsExactlyTheSearchText) {
    test::TemporaryStore store(test::QueryRows());
    const QStringList base{"--base", store.path()};
    EXPECT_EQ(Consulta({}), BuildSearchQuery(SearchCriteria{}) + QLatin1Char('\n'));

    SearchCriteria all;
    all.Jornada = ListChoice{3, QStringLiteral("3")};
    all.Entidad = ListChoice{2, QStringLiteral("Jalisco")};
    all.EjeTematico = ListChoice{5, QStringLiteral("Régimen de partidos")};
    all.Subtema = QString();
    all.Categoria = QStringLiteral("todas las categorías");
    all.Perfil = ListChoice{3, QStringLiteral("Ciudadano")};
    all.Normatividad = ListChoice{4, QStringLiteral("Ley O'Reilly")};
    all.Palabra = QStringLiteral("  100%_ \\ ");
    EXPECT_EQ(
        Consulta(base + QStringList{"--jornada", "3", "--entidad", "Jalisco", "--eje",
                                    "Régimen de partidos", "--subtema=", "--categoria",
                                    "todas las categorías", "--perfil", "Ciudadano",
                                    "--normatividad", "Ley O'Reilly", "--palabra", "  100%_ \\ "}),
        BuildSearchQuery(all) + QLatin1Char('\n'));

    // A list given its all-entry text stands on its all-entry; the combos are judged by text.
    EXPECT_EQ(Consulta(base + QStringList{"--jornada", "Todas las jornadas", "--subtema",
                                          "Todos los subtemas"}),
              BuildSearchQuery(SearchCriteria{}) + QLatin1Char('\n'));
}

// What the window could not choose is refused, naming the option, the value, the list by its
// label and what the user most likely meant; the two topic combos take any text, as the window's.
TEST(CliQuery, AListCriterionMustBeOneOfItsListsEntries) {
    test::TemporaryStore store(test::QueryRows());
    const auto buscar = [&](const QStringList& criteria) {
        return Cli(QStringList{"buscar", "--base", store.path(), "--csv", "-"} + criteria);
    };
    const CliRun unaccented = buscar({"--eje", "participacion ciudadana"});
    EXPECT_EQ(unaccented.status, 2);
    EXPECT_EQ(unaccented.out, QString());
    EXPECT_EQ(unaccented.err,
              "--eje «participacion ciudadana»: no es una entrada de la lista «Eje temático». "
              "¿Quiso decir «Participación ciudadana»?\n");
    const CliRun right = buscar({"--eje", "Participación ciudadana"});
    EXPECT_EQ(right.status, 0) << right.err.toStdString();
    EXPECT_EQ(right.out.count(QStringLiteral("\r\n")), 2);  // the header and F2

    // A typo, then a fragment, then nothing alike; several close entries are all offered.
    EXPECT_TRUE(buscar({"--entidad", "Oaxca"}).err.endsWith("¿Quiso decir «Oaxaca»?\n"));
    EXPECT_TRUE(buscar({"--normatividad", "ley"})
                    .err.endsWith("¿Quiso decir «Ley de medios» o «Ley O'Reilly»?\n"));
    const CliRun unlike = buscar({"--perfil", "Periodista"});
    EXPECT_EQ(unlike.status, 2);
    EXPECT_EQ(unlike.err,
              "--perfil «Periodista»: no es una entrada de la lista «Perfil del ponente». Sus "
              "entradas se ven con «ponencias-cli listas».\n");
    EXPECT_EQ(Cli({"buscar", "--base", store.path(), "--consulta", "--jornada", "03"}).status, 2);

    EXPECT_EQ(buscar({"--subtema", "Cualquier texto", "--categoria", "Otra"}).status, 0);
    EXPECT_EQ(buscar({"--entidad", ""}).status, 0);  // the list holds the empty text
    const CliRun noStore =
        Cli({"buscar", "--consulta", "--eje", "X", "--base", "/nonexistent/Ponencias.mdb"});
    EXPECT_EQ(noStore.status, 2);
    EXPECT_TRUE(noStore.err.startsWith("Error ")) << noStore.err.toStdString();
}

// The user knows the filters by the window's labels, never by its controls' names.
TEST(CliQuery, HelpAndListsNameTheFiltersByTheWindowsLabels) {
    const CliRun help = Cli({"buscar", "--help"});
    EXPECT_EQ(help.status, 0);
    for (const FilterList& filter : kFilterLists) {
        EXPECT_TRUE(help.out.contains(QString::fromUtf8(filter.label))) << filter.label;
    }
    EXPECT_TRUE(help.out.contains(QString::fromUtf8(kKeywordLabel)));
    const CliRun listasHelp = Cli({"listas", "--help"});
    for (const CliRun& run : {help, listasHelp, Cli({"listas"})}) {
        EXPECT_FALSE(run.out.contains(QStringLiteral("Cbo"))) << run.out.toStdString();
        EXPECT_FALSE(run.out.contains(QStringLiteral("Txt"))) << run.out.toStdString();
    }
    // An unknown option is CompanionStart's; buscar needs exactly one output; a store that fails
    // is BrokenDataFile's.
    EXPECT_EQ(Cli({"buscar", "--palabra", "x"}).status, 1);
    EXPECT_EQ(Cli({"buscar", "--consulta", "--csv", "-"}).status, 1);
}

TEST(CliQuery, BuscarExportsThroughTheSameSearch) {
    test::TemporaryStore store(test::QueryRows());
    const CliRun csv =
        Cli({"buscar", "--base", store.path(), "--csv", "-", "--palabra", "o'brien"});
    ASSERT_EQ(csv.status, 0) << csv.err.toStdString();
    const QStringList lines = csv.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);  // the header, then F4 alone: stdout holds only the CSV
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("FOLIO,")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("F4,")));

    const QString csvFile = store.folder() + QStringLiteral("/out.csv");
    const CliRun toFile =
        Cli({"buscar", "--base", store.path(), "--csv", csvFile, "--jornada", "3"});
    EXPECT_EQ(toFile.out, QStringLiteral("3\n"));
    EXPECT_TRUE(QFile::exists(csvFile));

    const QString workbook = store.folder() + QStringLiteral("/vacio.xlsx");
    const CliRun none =
        Cli({"buscar", "--base", store.path(), "--salida", workbook, "--palabra", "no está"});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, QStringLiteral("0\n"));
    EXPECT_FALSE(QFile::exists(workbook));
}

TEST(CliQuery, ListasPrintsTheListsAsTheWindowFillsThem) {
    test::TemporaryStore store(test::QueryRows());
    const CliRun plain = Cli({"listas", "--base", store.path()});
    ASSERT_EQ(plain.status, 0) << plain.err.toStdString();
    // Each list as the window holds it: the all-entry, then the values sorted.
    const QStringList expected =
        QStringList({"# Número de jornada", "Todas las jornadas", "1", "2", "3", "# País o entidad",
                     "Todas las entidades", "", "Jalisco", "Oaxaca", "# Eje temático"}) +
        test::QueryRowsAxes() +
        QStringList({"# Subtema", "# Categoría por subtema", "# Perfil del ponente",
                     "Todos los ponentes", "", "Académico", "Ciudadano",
                     "# Normatividad a modificar", "Todas las normatividades", "COFIPE",
                     "Constitución", "Ley de medios", "Ley O'Reilly", ""});
    EXPECT_EQ(plain.out.split(u'\n'), expected);

    const CliRun chosen =
        Cli({"listas", "--base", store.path(), "--eje", "Eje d'O'Neil", "--subtema", "Sub d'algo"});
    ASSERT_EQ(chosen.status, 0) << chosen.err.toStdString();
    EXPECT_TRUE(chosen.out.contains(QStringLiteral(
        "# Subtema\nTodos los subtemas\nSub d'algo\n# Categoría por subtema\nTodas las "
        "categorías\nCat l'été\n# Perfil del ponente\n")));

    // The same refusal as buscar's.
    const CliRun missing = Cli({"listas", "--base", store.path(), "--eje", "Eje d'O'Neill"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.err.endsWith("¿Quiso decir «Eje d'O'Neil»?\n"));
    EXPECT_EQ(Cli({"listas", "--base", store.path(), "--subtema", "Casillas"}).status, 1);
}

}  // namespace
}  // namespace ponencias
