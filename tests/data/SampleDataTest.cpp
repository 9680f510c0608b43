// The bundled sample: other tests and the benchmarks rely on its size and on the awkward cases
// planted in it, and the build relies on it coming out the same every time.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include "support/TestStore.h"

namespace {

class SampleData : public ::testing::Test {
protected:
    void SetUp() override {
        const QByteArray path = ponencias::test::SampleDatabasePath().toUtf8();
        ASSERT_EQ(sqlite3_open_v2(path.constData(), &db_, SQLITE_OPEN_READONLY, nullptr),
                  SQLITE_OK);
    }
    void TearDown() override { sqlite3_close(db_); }

    // The first column of every row of `sql`, NULL shown as "<null>".
    QStringList column(const QString& sql) {
        QStringList values;
        sqlite3_stmt* statement = nullptr;
        const QByteArray text = sql.toUtf8();
        EXPECT_EQ(sqlite3_prepare_v2(db_, text.constData(), -1, &statement, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db_);
        while (statement && sqlite3_step(statement) == SQLITE_ROW) {
            const auto* value = sqlite3_column_text(statement, 0);
            values << (value ? QString::fromUtf8(reinterpret_cast<const char*>(value))
                             : QStringLiteral("<null>"));
        }
        sqlite3_finalize(statement);
        return values;
    }
    long long number(const QString& sql) { return column(sql).value(0).toLongLong(); }

    sqlite3* db_ = nullptr;
};

TEST_F(SampleData, HoldsEveryFolioOnceWithEveryColumnAsText) {
    EXPECT_EQ(number("SELECT COUNT(*) FROM PONENCIAS"), 3420);
    EXPECT_EQ(number("SELECT COUNT(DISTINCT FOLIO) FROM PONENCIAS WHERE CAST(FOLIO AS INTEGER) "
                     "BETWEEN 1 AND 3420 AND FOLIO = CAST(CAST(FOLIO AS INTEGER) AS TEXT)"),
              3420);
    EXPECT_EQ(number("SELECT COUNT(DISTINCT ID) FROM PONENCIAS"), 3420);
    // Capture order is not folio order, nor the order of any filter column.
    EXPECT_GT(number("SELECT COUNT(*) FROM PONENCIAS WHERE FOLIO <> CAST(rowid AS TEXT)"), 100);

    const QStringList declared = column(
        "SELECT name || ' ' || type FROM pragma_table_info("
        "'PONENCIAS')");
    QStringList expected;
    for (const QString& name : ponencias::test::AllProposalColumns()) {
        expected << name + " TEXT";
    }
    EXPECT_EQ(declared, expected);
    for (const QString& name : ponencias::test::AllProposalColumns()) {
        EXPECT_EQ(number(QString("SELECT COUNT(*) FROM PONENCIAS WHERE typeof(%1) NOT IN "
                                 "('text', 'null')")
                             .arg(name)),
                  0)
            << name.toStdString();
    }
}

TEST_F(SampleData, EachFilterColumnHasTwoNullAndTwoEmptyValues) {
    const QStringList columns = {"NUM_JORNADA",    "ESTADO",  "EJE_TEMATICO",
                                 "PERFIL_PONENTE", "SUBTEMA", "CATEGORIA_SUBTEMA"};
    for (const QString& c : columns) {
        EXPECT_EQ(number(QString("SELECT COUNT(*) FROM PONENCIAS WHERE %1 IS NULL").arg(c)), 2)
            << c.toStdString();
        EXPECT_EQ(number(QString("SELECT COUNT(*) FROM PONENCIAS WHERE %1 = ''").arg(c)), 2)
            << c.toStdString();
    }
    EXPECT_EQ(column("SELECT FOLIO FROM PONENCIAS WHERE NUM_JORNADA IS NULL ORDER BY 0 + FOLIO"),
              QStringList({"57", "2213"}));
    EXPECT_EQ(column("SELECT FOLIO FROM PONENCIAS WHERE ESTADO = '' ORDER BY 0 + FOLIO"),
              QStringList({"1046", "3312"}));
    EXPECT_EQ(column("SELECT FOLIO FROM PONENCIAS WHERE TITULO IS NULL"), QStringList({"1650"}));
    EXPECT_EQ(column("SELECT FOLIO FROM PONENCIAS WHERE RESUMEN IS NULL"), QStringList({"2020"}));
}

TEST_F(SampleData, ListsAreRealistic) {
    EXPECT_EQ(number("SELECT COUNT(DISTINCT NUM_JORNADA) FROM PONENCIAS WHERE NUM_JORNADA <> ''"),
              32);
    EXPECT_EQ(number("SELECT COUNT(DISTINCT EJE_TEMATICO) FROM PONENCIAS "
                     "WHERE EJE_TEMATICO <> ''"),
              6);
    const QStringList places = column("SELECT DISTINCT ESTADO FROM PONENCIAS");
    for (const char* place :
         {"México", "Michoacán", "Nuevo León", "Querétaro", "San Luis Potosí", "Yucatán",
          "Distrito Federal", "Estados Unidos", "España", "Canadá"}) {
        EXPECT_TRUE(places.contains(QString::fromUtf8(place))) << place;
    }
    EXPECT_EQ(places.size(), 32 + 9 + 2);
    // The file's own order of values is not sorted, so a sorted list is the store's doing.
    QStringList sorted = places;
    sorted.sort();
    EXPECT_NE(places, sorted);

    EXPECT_GE(number("SELECT MIN(LENGTH(RESUMEN)) FROM PONENCIAS"), 150);
    EXPECT_GT(number("SELECT COUNT(*) FROM PONENCIAS WHERE RESUMEN LIKE '%voto nulo%'"), 50);
    // Most proposals name one or two laws.
    EXPECT_GT(number("SELECT COUNT(*) FROM PONENCIAS WHERE NORMATIVIDAD_MODIFICAR_1 NOT IN "
                     "('', 'No aplica') AND (NORMATIVIDAD_MODIFICAR_3 IS NULL OR "
                     "NORMATIVIDAD_MODIFICAR_3 IN ('', 'No aplica'))"),
              1710);
}

TEST_F(SampleData, PlantedCasesArePresent) {
    // A law named in column 2 of one proposal and column 4 of another, nowhere else.
    const QString foreignService = "Ley del Servicio Exterior Mexicano";
    for (int c = 1; c <= 5; ++c) {
        EXPECT_EQ(column(QString("SELECT FOLIO FROM PONENCIAS WHERE NORMATIVIDAD_MODIFICAR_%1 = "
                                 "'%2'")
                             .arg(c)
                             .arg(foreignService)),
                  c == 2   ? QStringList({"1234"})
                  : c == 4 ? QStringList({"2871"})
                           : QStringList())
            << c;
    }
    EXPECT_EQ(column("SELECT FOLIO FROM PONENCIAS WHERE 'Ley General de Educación' IN "
                     "(NORMATIVIDAD_MODIFICAR_1, NORMATIVIDAD_MODIFICAR_2, "
                     "NORMATIVIDAD_MODIFICAR_3, NORMATIVIDAD_MODIFICAR_4, "
                     "NORMATIVIDAD_MODIFICAR_5)"),
              QStringList({"2345"}));
    EXPECT_EQ(number("SELECT COUNT(*) FROM PONENCIAS WHERE NORMATIVIDAD_MODIFICAR_5 = "
                     "'Ley General de Educación'"),
              1);

    // One subtopic name under two axes, with different categories under each.
    EXPECT_EQ(number("SELECT COUNT(DISTINCT EJE_TEMATICO) FROM PONENCIAS "
                     "WHERE SUBTEMA = 'Financiamiento' AND EJE_TEMATICO <> ''"),
              2);
    EXPECT_EQ(number("SELECT COUNT(*) FROM (SELECT CATEGORIA_SUBTEMA FROM PONENCIAS "
                     "WHERE SUBTEMA = 'Financiamiento' AND CATEGORIA_SUBTEMA <> '' "
                     "GROUP BY CATEGORIA_SUBTEMA HAVING COUNT(DISTINCT EJE_TEMATICO) > 1)"),
              0);

    // Apostrophes in a subtopic, a category, summaries and titles.
    EXPECT_GT(number("SELECT COUNT(*) FROM PONENCIAS WHERE SUBTEMA = "
                     "'Voto de los mexicanos en el extranjero (''voto migrante'')'"),
              50);
    EXPECT_GT(number("SELECT COUNT(*) FROM PONENCIAS WHERE CATEGORIA_SUBTEMA = "
                     "'Iniciativa ciudadana (''iniciativa popular'')'"),
              20);
    EXPECT_GT(number("SELECT COUNT(*) FROM PONENCIAS WHERE RESUMEN LIKE '%''%'"), 50);

    // Every folio the result sheet leaves without a link occurs.
    EXPECT_EQ(number("SELECT COUNT(*) FROM PONENCIAS WHERE 0 + FOLIO IN (302, 818, 824, 825, "
                     "826, 925, 1152, 1180, 1417, 1464, 1485, 1507, 1742, 1754, 1755, 1756, "
                     "1758, 1759, 1760, 1761, 1762, 1763, 1764, 1765, 1767, 1769, 2904, 3167, "
                     "3168, 3169, 3170, 3171, 3337, 3418)"),
              34);
}

TEST(SampleGenerator, WritesTheSameBytesEveryTime) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString copy = dir.filePath("Ponencias.mdb");
    ASSERT_EQ(QProcess::execute(PONENCIAS_SAMPLE_GENERATOR, {copy}), 0);
    QFile built(ponencias::test::SampleDatabasePath());
    QFile again(copy);
    ASSERT_TRUE(built.open(QIODevice::ReadOnly));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_TRUE(built.readAll() == again.readAll());
    EXPECT_FALSE(QFile::exists(copy + ".parcial"));
}

}  // namespace
