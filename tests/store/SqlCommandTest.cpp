// ponencias-cli sql, run as a user runs it.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "hardening/CliRunner.h"
#include "support/TestStore.h"

using namespace ponencias::test;

namespace {

// ponencias-cli sql with `arguments`.
CliResult Sql(const QStringList& arguments) {
    return RunCli(QStringList{QStringLiteral("sql")} + arguments);
}

}  // namespace

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
