// Every output of the companion is checked: a file that cannot be written, or a standard output
// that refuses the bytes, ends the command with status 1 and one Spanish message naming the
// output and the system's reason, and leaves no file (an existing one keeps its content). The
// failures are made without privileges: a file size limit (writes then fail with EFBIG), /dev/full
// and a read-only folder. A successful command, on the other hand, writes nothing on standard
// error, even in a session without XDG_RUNTIME_DIR or a display.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>

#include "CliRunner.h"
#include "support/Files.h"
#include "support/TestStore.h"

namespace ponencias::test {
namespace {

constexpr qint64 kLimit = 64 * 1024;

// Rows whose CSV (quotes doubled) and workbook (the library's XML escapes "&") outgrow kLimit,
// while the store itself stays small enough to be sorted in memory.
std::vector<ProposalRow> BulkyProposals() {
    std::vector<ProposalRow> rows;
    for (int n = 1; n <= 40; ++n) {
        rows.push_back({{"FOLIO", QString::number(n)},
                        {"TITULO", QStringLiteral("Título %1").arg(n)},
                        {"RESUMEN", QString(3000, QLatin1Char('"')) + QString(3000, '&')}});
    }
    return rows;
}

class WriteFailure : public ::testing::Test {
protected:
    // Runs the companion on the bulky store with standard output captured or sent to `out`.
    CliResult run(QStringList arguments, qint64 limit, const QString& out = QString()) {
        arguments << QStringLiteral("--base") << store_.path();
        CliOptions options;
        options.fileSizeLimit = limit;
        options.standardOutputFile = out;
        return RunCli(arguments, options);
    }
    QString file(const char* name) const { return folder_.filePath(QLatin1String(name)); }

    TemporaryStore store_{BulkyProposals()};
    QTemporaryDir folder_;
};

// One line, in Spanish, and nothing from a library before it.
void ExpectOneMessage(const CliResult& result, const QString& expected) {
    EXPECT_TRUE(result.exitedNormally);
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(result.err), expected + QLatin1Char('\n'));
}

TEST_F(WriteFailure, FilesBeyondTheSizeLimitAreNotLeftHalfWritten) {
    const QString workbook = file("F.xlsx");
    ExpectOneMessage(run({"buscar", "--salida", workbook}, kLimit),
                     "No se pudo escribir «" + workbook + "»: El archivo es demasiado grande");
    const QString csv = file("F.csv");
    ExpectOneMessage(run({"buscar", "--csv", csv}, kLimit),
                     "No se pudo escribir «" + csv + "»: El archivo es demasiado grande");
    EXPECT_EQ(EntriesIn(folder_.path()), QStringList());

    // A file that already had the name keeps its old content, whatever the output.
    for (const char* name : {"F.xlsx", "F.csv"}) {
        WriteWholeFile(file(name), "contenido anterior");
    }
    EXPECT_EQ(run({"buscar", "--salida", workbook}, kLimit).exitCode, 1);
    EXPECT_EQ(run({"buscar", "--csv", csv}, kLimit).exitCode, 1);
    for (const char* name : {"F.xlsx", "F.csv"}) {
        EXPECT_EQ(ReadWholeFile(file(name)), "contenido anterior") << name;
    }
    EXPECT_EQ(EntriesIn(folder_.path()), (QStringList{"F.csv", "F.xlsx"}));

    // Without the limit the same commands succeed and replace the files.
    EXPECT_EQ(run({"buscar", "--salida", workbook}, 0).exitCode, 0);
    EXPECT_EQ(run({"buscar", "--csv", csv}, 0).exitCode, 0);
    EXPECT_GT(QFileInfo(csv).size(), kLimit);
    EXPECT_EQ(EntriesIn(folder_.path()), (QStringList{"F.csv", "F.xlsx"}));
}

TEST_F(WriteFailure, AFullOrLimitedStandardOutputIsAFailure) {
    const QString stdoutFailure = QStringLiteral("No se pudo escribir en la salida estándar: ");
    const QString full = QStringLiteral("/dev/full");
    for (const QStringList& command : {QStringList{"buscar", "--csv", "-"}, QStringList{"listas"},
                                       QStringList{"sql", "SELECT * FROM ponencias"}}) {
        ExpectOneMessage(run(command, 0, full),
                         stdoutFailure + "No queda espacio en el dispositivo");
    }

    const QString captured = file("salida.txt");
    ExpectOneMessage(run({"buscar", "--csv", "-"}, kLimit, captured),
                     stdoutFailure + "El archivo es demasiado grande");
    ExpectOneMessage(run({"sql", "SELECT * FROM ponencias"}, kLimit, captured),
                     stdoutFailure + "El archivo es demasiado grande");
}

TEST_F(WriteFailure, ADeviceThatRefusesTheWorkbookIsAFailure) {
    // /dev/full is written in place (a device is never replaced), and refuses every byte.
    for (const char* option : {"--salida", "--csv"}) {
        const CliResult result = run({"buscar", option, "/dev/full"}, 0);
        ExpectOneMessage(result,
                         "No se pudo escribir «/dev/full»: No queda espacio en el dispositivo");
        EXPECT_TRUE(result.out.isEmpty()) << option;
    }
    struct stat device {};
    ASSERT_EQ(stat("/dev/full", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode));
    // /dev/null takes anything: a success.
    EXPECT_EQ(run({"buscar", "--salida", "/dev/null"}, 0).exitCode, 0);
}

TEST_F(WriteFailure, AReadOnlyFolderIsToldAndLeftAlone) {
    if (!PermissionsApply()) {
        GTEST_SKIP() << "running as root without setpriv";
    }
    ASSERT_EQ(chmod(QFile::encodeName(store_.folder()).constData(), 0755), 0);
    ASSERT_EQ(chmod(QFile::encodeName(store_.path()).constData(), 0644), 0);
    ASSERT_EQ(chmod(QFile::encodeName(folder_.path()).constData(), 0555), 0);
    CliOptions nobody;
    nobody.asUnprivilegedUser = true;
    for (const char* name : {"F.xlsx", "F.csv"}) {
        const QString target = file(name);
        const QString option = target.endsWith(".xlsx") ? "--salida" : "--csv";
        ExpectOneMessage(RunCli({"buscar", "--base", store_.path(), option, target}, nobody),
                         "No se pudo escribir «" + target + "»: Permiso denegado");
    }
    EXPECT_EQ(EntriesIn(folder_.path()), QStringList());
    chmod(QFile::encodeName(folder_.path()).constData(), 0700);
}

TEST(QuietOnSuccess, SuccessfulCommandsWriteNothingOnStandardError) {
    QTemporaryDir folder;
    CliOptions session;
    session.unsetVariables = {"XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY"};
    const QString sample = SampleDatabasePath();
    const QList<QStringList> commands = {
        {"sql", "--base", sample, "SELECT COUNT(*) AS n FROM ponencias"},
        {"listas", "--base", sample},
        {"buscar", "--consulta"},
        {"buscar", "--base", sample, "--palabra", "voto", "--csv", folder.filePath("r.csv")},
        {"buscar", "--base", sample, "--palabra", "voto", "--csv", "-"},
        {"buscar", "--base", sample, "--palabra", "voto", "--salida", folder.filePath("r.xlsx")},
    };
    for (const QStringList& command : commands) {
        const CliResult result = RunCli(command, session);
        EXPECT_EQ(result.exitCode, 0) << command.join(' ').toStdString();
        EXPECT_FALSE(result.out.isEmpty()) << command.join(' ').toStdString();
        EXPECT_EQ(result.err, QByteArray()) << command.join(' ').toStdString();
    }
    EXPECT_EQ(EntriesIn(folder.path()), (QStringList{"r.csv", "r.xlsx"}));
}

}  // namespace
}  // namespace ponencias::test
