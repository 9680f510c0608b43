// The bundled sample: other tests and the benchmarks rely on its size and on the nulls and
// empty texts planted in it, and the build relies on it coming out the same every time. Every
// other value it holds is pinned, cell for cell, by the reference workbook of the whole sample.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include "support/Files.h"
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

    QStringList expected;
    for (const QString& name : ponencias::test::AllProposalColumns()) {
        expected << name + " TEXT";
    }
    EXPECT_EQ(column("SELECT name || ' ' || type FROM pragma_table_info('PONENCIAS')"), expected);
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

TEST(SampleGenerator, WritesTheSameBytesEveryTime) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString copy = dir.filePath("Ponencias.mdb");
    ASSERT_EQ(QProcess::execute(PONENCIAS_SAMPLE_GENERATOR, {copy}), 0);
    const QByteArray built = ponencias::test::ReadWholeFile(ponencias::test::SampleDatabasePath());
    ASSERT_FALSE(built.isEmpty());
    EXPECT_TRUE(built == ponencias::test::ReadWholeFile(copy));
    EXPECT_FALSE(QFile::exists(copy + ".parcial"));
}

}  // namespace
