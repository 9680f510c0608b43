// ponencias-cli sql, run as a user runs it.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "StoreTestSupport.h"
#include "support/TestStore.h"

using namespace ponencias::test;

namespace {

struct CliRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
    bool crashed = false;
};

CliRun Cli(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(PONENCIAS_CLI), QStringList{QStringLiteral("sql")} + arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError(),
            process.exitStatus() != QProcess::NormalExit};
}

}  // namespace

TEST(SqlCommand, CountsTheSample) {
    if (!QFile::exists(SampleDatabasePath())) {
        GTEST_SKIP() << "the sample database is not built";
    }
    const CliRun run = Cli({QStringLiteral("SELECT COUNT(*) AS n FROM ponencias")});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QByteArray("n\r\n3420\r\n"));
}

TEST(SqlCommand, AgreesWithMdbExportOnTextAndNumbers) {
    const CliRun run = Cli(
        {QStringLiteral("--base"), AccessTestFilePath(), QStringLiteral("SELECT * FROM DateTest")});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QByteArray exported = MdbExport(AccessTestFilePath(), QStringLiteral("DateTest"));
    ASSERT_FALSE(exported.isEmpty());
    const std::vector<QStringList> ours = ParseCsv(run.out);
    const std::vector<QStringList> theirs = ParseCsv(exported);
    ASSERT_EQ(ours.size(), theirs.size());
    ASSERT_FALSE(ours.empty());
    EXPECT_EQ(ours[0], theirs[0]);
    const QStringList& header = ours[0];
    int compared = 0;
    for (size_t r = 1; r < ours.size(); ++r) {
        ASSERT_EQ(ours[r].size(), header.size());
        for (qsizetype c = 0; c < header.size(); ++c) {
            if (header[c].endsWith(QLatin1String("Col")) &&
                (header[c].contains(QLatin1String("Date")) ||
                 header[c].contains(QLatin1String("Time")))) {
                EXPECT_TRUE(QRegularExpression(
                                QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                                .match(ours[r][c])
                                .hasMatch())
                    << ours[r][c].toStdString();
                continue;
            }
            EXPECT_EQ(ours[r][c], theirs[r][c]) << "row " << r << " " << header[c].toStdString();
            ++compared;
        }
    }
    EXPECT_EQ(compared, 18);
}

TEST(SqlCommand, AccessSamplesReadAsTheirNoteSays) {
    const CliRun decimals =
        Cli({QStringLiteral("--base"), AccessTestFile(QStringLiteral("fixedNumericTestV2003.mdb")),
             QStringLiteral("SELECT * FROM test")});
    ASSERT_EQ(decimals.status, 0) << decimals.err.toStdString();
    EXPECT_EQ(ParseCsv(decimals.out),
              std::vector<QStringList>({{"col1", "col2", "col3", "col4", "col5", "col6", "col7"},
                                        {"some data", "1", "0", "0", "4", "-1", "1"}}));
    const CliRun calculated =
        Cli({QStringLiteral("--base"), AccessTestFile(QStringLiteral("calcFieldTestV2010.accdb")),
             QStringLiteral("SELECT ID, FirstName, LastName, City, Salary, Popularity, LastFirst, "
                            "LastFirstLen FROM Table1 ORDER BY ID")});
    ASSERT_EQ(calculated.status, 0) << calculated.err.toStdString();
    const std::vector<QStringList> rows = ParseCsv(calculated.out);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1], QStringList({"1", "Bruce", "Wayne", "Gotham", "1000000", "50.325",
                                    "Wayne, Bruce", "12"}));
    EXPECT_EQ(rows[2], QStringList({"2", "Bart", "Simpson", "Springfield", "-1", "-36.2222",
                                    "Simpson, Bart", "13"}));
    EXPECT_EQ(rows[3],
              QStringList({"3", "John", "Doe", "Nowhere", "0", "0.0123", "Doe, John", "9"}));
    EXPECT_EQ(rows[4], QStringList({"4", "Test", "User", "Hockessin", "100", "102030405060.654321",
                                    "User, Test", "10"}));
}

TEST(SqlCommand, CsvQuotingAndNulls) {
    TemporaryStore store(
        {{{"FOLIO", "1"}, {"TITULO", "Dice \"sí\", y luego\nno"}, {"ESTADO", QVariant()}}});
    const CliRun run =
        Cli({QStringLiteral("--base"), store.path(),
             QStringLiteral("SELECT folio, titulo AS Titulo, estado FROM ponencias")});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              QByteArray("FOLIO,Titulo,ESTADO\r\n1,\"Dice \"\"sí\"\", y luego\nno\",\r\n"));
}

TEST(SqlCommand, StoreErrorsExitWithTwoAndUsageErrorsWithOne) {
    QTemporaryDir dir;
    const QString garbage = dir.filePath(QStringLiteral("Basura.mdb"));
    {
        QFile file(garbage);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray("\0\1\0\0Standard Jet DB\0", 20) + QByteArray(5000, 'z'));
    }
    const QString truncated = dir.filePath(QStringLiteral("Cortado.mdb"));
    {
        QFile file(truncated);
        file.open(QIODevice::WriteOnly);
        file.write(ReadWholeFile(AccessTestFilePath()).left(40000));
    }
    for (const QStringList& arguments :
         {QStringList{"--base", dir.filePath("No.mdb"), "SELECT 1"},
          QStringList{"--base", garbage, "SELECT * FROM DateTest"},
          QStringList{"--base", truncated, "SELECT * FROM DateTest"},
          QStringList{"--base", dir.path(), "SELECT 1"},
          QStringList{"--base", AccessTestFilePath(), "SELECT * FROM DateTest WHERE"},
          QStringList{"--base", AccessTestFilePath(), "DELETE FROM DateTest"}}) {
        const CliRun run = Cli(arguments);
        EXPECT_FALSE(run.crashed);
        EXPECT_EQ(run.status, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains("Error 3")) << run.err.toStdString();
    }
    EXPECT_EQ(Cli({}).status, 1);
    EXPECT_EQ(Cli({"SELECT 1", "SELECT 2"}).status, 1);
    EXPECT_EQ(Cli({"--nada", "SELECT 1"}).status, 1);
    EXPECT_EQ(Cli({"--help"}).status, 0);
}
