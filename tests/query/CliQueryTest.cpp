// ponencias-cli buscar and listas: the same texts and lists as the window, on the command line.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "QueryFixture.h"
#include "query/SearchQuery.h"

namespace ponencias {
namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

CliRun Cli(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(PONENCIAS_CLI), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString Consulta(const QStringList& criteria) {
    const CliRun run =
        Cli(QStringList{QStringLiteral("buscar"), QStringLiteral("--consulta")} + criteria);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    return run.out;
}

TEST(CliQuery, ConsultaPrintsExactlyTheSearchText) {
    EXPECT_EQ(Consulta({}), BuildSearchQuery(SearchCriteria{}) + QLatin1Char('\n'));

    SearchCriteria criteria;
    criteria.Entidad = ListChoice{1, QStringLiteral("Jalisco")};
    criteria.Palabra = QStringLiteral("voto nulo");
    EXPECT_EQ(Consulta({"--entidad", "Jalisco", "--palabra", "voto nulo"}),
              BuildSearchQuery(criteria) + QLatin1Char('\n'));

    SearchCriteria all;
    all.Jornada = ListChoice{1, QStringLiteral("3")};
    all.EjeTematico = ListChoice{1, QStringLiteral("Régimen de partidos")};
    all.Subtema = QString();
    all.Categoria = QStringLiteral("todas las categorías");
    all.Perfil = ListChoice{1, QStringLiteral("Ciudadano")};
    all.Normatividad = ListChoice{1, QStringLiteral("Ley O'Reilly")};
    all.Palabra = QStringLiteral("  100%_ \\ ");
    EXPECT_EQ(Consulta({"--jornada", "3", "--eje", "Régimen de partidos",
                        "--subtema=", "--categoria", "todas las categorías", "--perfil",
                        "Ciudadano", "--normatividad", "Ley O'Reilly", "--palabra", "  100%_ \\ "}),
              BuildSearchQuery(all) + QLatin1Char('\n'));

    // A list given its all-entry text stands on its all-entry; the combos are judged by text.
    EXPECT_EQ(Consulta({"--jornada", "Todas las jornadas", "--subtema", "Todos los subtemas"}),
              BuildSearchQuery(SearchCriteria{}) + QLatin1Char('\n'));
}

TEST(CliQuery, BuscarNeedsExactlyOneOutputAndReportsStoreFailures) {
    EXPECT_EQ(Cli({"buscar", "--palabra", "x"}).status, 1);
    EXPECT_EQ(Cli({"buscar", "--consulta", "--csv", "-"}).status, 1);
    const CliRun failed = Cli({"buscar", "--csv", "-", "--base", "/nonexistent/Ponencias.mdb"});
    EXPECT_EQ(failed.status, 2);
    EXPECT_TRUE(failed.out.isEmpty());
    EXPECT_FALSE(failed.err.isEmpty());
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
        QStringList({"# JornadaCbo", "Todas las jornadas", "1", "2", "3", "# EntidadCbo",
                     "Todas las entidades", "", "Jalisco", "Oaxaca", "# EjeTemCbo"}) +
        test::QueryRowsAxes() +
        QStringList({"# SubtemaCbo", "# CatSubTemaCbo", "# PerfilPonCbo", "Todos los ponentes", "",
                     "Académico", "Ciudadano", "# NormatividadCbo", "Todas las normatividades",
                     "COFIPE", "Constitución", "Ley de medios", "Ley O'Reilly", ""});
    EXPECT_EQ(plain.out.split(u'\n'), expected);

    const CliRun chosen =
        Cli({"listas", "--base", store.path(), "--eje", "Eje d'O'Neil", "--subtema", "Sub d'algo"});
    ASSERT_EQ(chosen.status, 0) << chosen.err.toStdString();
    EXPECT_TRUE(chosen.out.contains(QStringLiteral(
        "# SubtemaCbo\nTodos los subtemas\nSub d'algo\n# CatSubTemaCbo\nTodas las categorías\n"
        "Cat l'été\n# PerfilPonCbo\n")));

    EXPECT_EQ(Cli({"listas", "--base", store.path(), "--eje", "No existe"}).status, 1);
    EXPECT_EQ(Cli({"listas", "--base", store.path(), "--subtema", "Casillas"}).status, 1);
    EXPECT_EQ(Cli({"listas", "--base", "/nonexistent/Ponencias.mdb"}).status, 2);
}

}  // namespace
}  // namespace ponencias
