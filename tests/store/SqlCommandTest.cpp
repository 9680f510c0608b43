// ponencias-cli sql, run as a user runs it.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "StoreTestSupport.h"
#include "hardening/CliRunner.h"
#include "support/TestStore.h"

using namespace ponencias::test;

namespace {

// ponencias-cli sql with `arguments`.
CliResult Sql(const QStringList& arguments) {
    return RunCli(QStringList{QStringLiteral("sql")} + arguments);
}

}  // namespace

TEST(SqlCommand, CountsTheSample) {
    if (!QFile::exists(SampleDatabasePath())) {
        GTEST_SKIP() << "the sample database is not built";
    }
    const CliResult run = Sql({QStringLiteral("SELECT COUNT(*) AS n FROM ponencias")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QByteArray("n\r\n3420\r\n"));
}

// The values themselves are the store's (AccessFile tests); here, that the companion starts the
// importer and writes what it reads.
TEST(SqlCommand, ReadsAnAccessFile) {
    const CliResult decimals =
        Sql({QStringLiteral("--base"), AccessTestFile(QStringLiteral("fixedNumericTestV2003.mdb")),
             QStringLiteral("SELECT * FROM test")});
    ASSERT_EQ(decimals.exitCode, 0) << decimals.err.toStdString();
    EXPECT_EQ(ParseCsv(decimals.out),
              std::vector<QStringList>({{"col1", "col2", "col3", "col4", "col5", "col6", "col7"},
                                        {"some data", "1", "0", "0", "4", "-1", "1"}}));
}

TEST(SqlCommand, CsvQuotingAndNulls) {
    TemporaryStore store(
        {{{"FOLIO", "1"}, {"TITULO", "Dice \"sí\", y luego\nno"}, {"ESTADO", QVariant()}}});
    const CliResult run =
        Sql({QStringLiteral("--base"), store.path(),
             QStringLiteral("SELECT folio, titulo AS Titulo, estado FROM ponencias")});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              QByteArray("FOLIO,Titulo,ESTADO\r\n1,\"Dice \"\"sí\"\", y luego\nno\",\r\n"));
}

TEST(SqlCommand, StoreErrorsExitWithTwoAndUsageErrorsWithOne) {
    // Files that cannot be read are BrokenDataFile's; here, that sql reports a store error so.
    QTemporaryDir dir;
    for (const QStringList& arguments :
         {QStringList{"--base", dir.filePath("No.mdb"), "SELECT 1"},
          QStringList{"--base", dir.path(), "SELECT 1"},
          QStringList{"--base", AccessTestFilePath(), "SELECT * FROM DateTest WHERE"},
          QStringList{"--base", AccessTestFilePath(), "DELETE FROM DateTest"}}) {
        const CliResult run = Sql(arguments);
        EXPECT_TRUE(run.exitedNormally);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains("Error 3")) << run.err.toStdString();
    }
    EXPECT_EQ(Sql({}).exitCode, 1);
    EXPECT_EQ(Sql({"SELECT 1", "SELECT 2"}).exitCode, 1);
}
