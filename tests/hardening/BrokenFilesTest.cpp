// Whatever file sits where the data file should be, the companion and the query window's
// loading end in a clear store error: a number, a Spanish description naming the file or the
// statement, and exit status 2 — never a signal, never a partial list.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <functional>

#include "CliRunner.h"
#include "query/MemoryQueryControls.h"
#include "store/ApplicationFolder.h"
#include "store/ProposalStore.h"
#include "store/StoreError.h"
#include "support/Files.h"
#include "support/TestStore.h"

namespace ponencias::test {
namespace {

QByteArray RandomBytes(int size, quint32 seed) {
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes) {
        byte = char(random.bounded(256));
    }
    return bytes;
}

struct BrokenFile {
    const char* what;
    int number;  // the store's error
    // Makes the broken data file at `path` (which does not exist yet).
    std::function<void(const QString& path)> make;
};

std::vector<BrokenFile> BrokenFiles() {
    const QByteArray sample = ReadWholeFile(SampleDatabasePath());
    const QByteArray access = ReadWholeFile(AccessTestFilePath());
    const auto bytes = [](QByteArray content) {
        return [content](const QString& path) { WriteWholeFile(path, content); };
    };
    QByteArray damaged = sample;
    damaged.replace(3 * 4096, 2 * 4096, QByteArray(2 * 4096, char(0xA5)));
    std::vector<BrokenFile> files = {
        {"missing", StoreError::FileNotFound, [](const QString&) {}},
        {"empty", StoreError::UnrecognizedFormat, bytes(QByteArray())},
        {"text", StoreError::UnrecognizedFormat, bytes("FOLIO,ESTADO\n1,Colima\n")},
        {"zero-filled", StoreError::UnrecognizedFormat, bytes(QByteArray(65536, '\0'))},
        {"random bytes", StoreError::UnrecognizedFormat, bytes(RandomBytes(100000, 7))},
        {"SQLite header, then noise", StoreError::CorruptFile,
         bytes(sample.left(100) + RandomBytes(50000, 8))},
        {"Access signature, then noise", StoreError::CorruptFile,
         bytes(access.left(64) + RandomBytes(50000, 9))},
        {"SQLite cut after its header", StoreError::CorruptFile, bytes(sample.left(100))},
        {"SQLite cut at its second page", StoreError::CorruptFile, bytes(sample.left(4096 + 17))},
        {"SQLite cut in half", StoreError::CorruptFile, bytes(sample.left(sample.size() / 2))},
        {"SQLite with two pages overwritten", StoreError::CorruptFile, bytes(damaged)},
        {"Access cut after one page", StoreError::CorruptFile, bytes(access.left(4096))},
        {"Access cut in half", StoreError::CorruptFile, bytes(access.left(access.size() / 2))},
        {"Access cut inside a page", StoreError::CorruptFile, bytes(access.left(3 * 4096 + 100))},
        {"a folder named like the file", StoreError::FileNotFound,
         [](const QString& path) { QDir().mkpath(path); }},
        // Found by the fuzzers: damaged pointers that made libmdb allocate without end, go round
        // for ever, read past a page or follow a null pointer.
        {"Access file sending its reader into runaway allocation", StoreError::CorruptFile,
         bytes(ReadWholeFile(AccessTestFile(QStringLiteral("access-runaway-allocation.mdb"))))},
        {"Access properties past their length", StoreError::CorruptFile,
         bytes(ReadWholeFile(
             AccessTestFile(QStringLiteral("access-properties-past-their-length.mdb"))))},
        {"Access catalog row outside its page", StoreError::CorruptFile,
         bytes(ReadWholeFile(AccessTestFile(QStringLiteral("access-row-outside-page.accdb"))))},
        {"Access table without a usage map", StoreError::TableNotFound,
         bytes(ReadWholeFile(AccessTestFile(QStringLiteral("access-without-usage-map.mdb"))))},
        {"SQLite without PONENCIAS", StoreError::TableNotFound,
         [](const QString& path) {
             TemporaryStore other({});
             WriteWholeFile(path, ReadWholeFile(other.path()).replace("PONENCIAS", "OTRATABLA"));
         }},
        {"PONENCIAS without ESTADO", StoreError::ColumnNotFound,
         [](const QString& path) {
             QStringList columns = AllProposalColumns();
             columns.removeAll(QStringLiteral("ESTADO"));
             TemporaryStore store({{{QStringLiteral("FOLIO"), QStringLiteral("1")}}}, columns);
             WriteWholeFile(path, ReadWholeFile(store.path()));
         }},
    };
    return files;
}

class BrokenDataFile : public ::testing::Test {
protected:
    QTemporaryDir dir_;
};

TEST_F(BrokenDataFile, CompanionEndsWithStatusTwoAndAMessageNamingTheFileOrStatement) {
    for (const BrokenFile& broken : BrokenFiles()) {
        const QString path = dir_.filePath(QString::fromUtf8(broken.what).replace(' ', '_'));
        broken.make(path);
        for (const QStringList& command :
             {QStringList{"listas", "--base", path},
              QStringList{"buscar", "--base", path, "--salida", dir_.filePath("out.xlsx")},
              QStringList{"buscar", "--base", path, "--csv", "-"}}) {
            const CliResult result = RunCli(command);
            ASSERT_TRUE(result.exitedNormally) << broken.what << ": ended by a signal or hung";
            EXPECT_EQ(result.exitCode, 2) << broken.what << " " << command[0].toStdString();
            const QString message = QString::fromUtf8(result.err);
            EXPECT_TRUE(message.contains(path) || message.contains(QLatin1String("ESTADO")) ||
                        message.contains(QLatin1String("PONENCIAS")))
                << broken.what << ": " << message.toStdString();
            EXPECT_TRUE(result.out.isEmpty()) << broken.what << ": partial output";
        }
        EXPECT_FALSE(QFile::exists(dir_.filePath("out.xlsx"))) << broken.what;
    }
}

// The store's own error, numbered, naming the file (or the table or column it lacks).
TEST_F(BrokenDataFile, QueryWindowLoadingStopsWithTheStoresError) {
    for (const BrokenFile& broken : BrokenFiles()) {
        const QString path = dir_.filePath(QString::fromUtf8(broken.what).replace(' ', '_'));
        broken.make(path);
        SetProposalDataFile(path);
        MemoryQueryControls controls;
        try {
            controls.Load();
            ADD_FAILURE() << broken.what << ": loaded";
        } catch (const StoreError& error) {
            EXPECT_EQ(error.number(), broken.number) << broken.what;
            EXPECT_TRUE(error.description().contains(path) ||
                        error.description().contains(QLatin1String("ESTADO")) ||
                        error.description().contains(QLatin1String("PONENCIAS")))
                << broken.what << ": " << error.description().toStdString();
        }
        ReleaseProposalStore();
    }
    SetProposalDataFile(QString());
}

// The companion looks for the Access importer beside itself only: a copy of it in a folder
// without one says so, in a numbered message naming where it looked.
TEST_F(BrokenDataFile, CompanionWithoutTheAccessImporterBesideItNamesIt) {
    const QString companion = dir_.filePath(QStringLiteral("ponencias-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PONENCIAS_CLI), companion));
    QProcess process;
    process.start(companion,
                  {QStringLiteral("listas"), QStringLiteral("--base"), AccessTestFilePath()});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 2);
    const QString message = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(message.contains(QStringLiteral("3170"))) << message.toStdString();
    EXPECT_TRUE(message.contains(u'«' + dir_.filePath(QStringLiteral("ponencias-importar")) +
                                 QStringLiteral("» no se puede iniciar")))
        << message.toStdString();
}

TEST_F(BrokenDataFile, UnreadableFileIsRefusedForAnOrdinaryUser) {
    if (!PermissionsApply()) {
        GTEST_SKIP() << "running as root without setpriv";
    }
    const QString path = dir_.filePath(QStringLiteral("Ponencias.mdb"));
    ASSERT_TRUE(QFile::copy(SampleDatabasePath(), path));
    ASSERT_EQ(chmod(path.toLocal8Bit().constData(), 0), 0);
    ASSERT_EQ(chmod(dir_.path().toLocal8Bit().constData(), 0755), 0);
    const CliResult result = RunCli({"listas", "--base", path}, true);
    ASSERT_TRUE(result.exitedNormally);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(QString::fromUtf8(result.err).contains(path)) << result.err.toStdString();
}

}  // namespace
}  // namespace ponencias::test
