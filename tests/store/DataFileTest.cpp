// The data file: recognised by its content, read whole or refused with a clear error, never
// written, and read again only when it changes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <thread>

#include "StoreTestSupport.h"
#include "importer/AccessDates.h"
#include "store/ApplicationFolder.h"
#include "store/ProposalStore.h"
#include "store/StoreError.h"
#include "store/StoreSnapshot.h"
#include "support/Files.h"
#include "support/TestStore.h"

using namespace ponencias;
using namespace ponencias::test;

namespace {

struct Outcome {
    int number = 0;  // 0: opened and answered
    QString description;
    long rows = -1;
};

// Opens the store on `path` the way the query window does and counts the rows of `table`.
Outcome OpenAndCount(const QString& path, const QString& table = QStringLiteral("PONENCIAS")) {
    Outcome outcome;
    SetProposalDataFile(path);
    try {
        OpenProposalStore();
        ProposalRecordset->Open(QStringLiteral("SELECT * FROM ") + table, *ProposalConnection);
        outcome.rows = ProposalRecordset->RecordCount();
    } catch (const StoreError& error) {
        outcome.number = error.number();
        outcome.description = error.description();
    }
    ReleaseProposalStore();
    SetProposalDataFile(QString());
    return outcome;
}

TemporaryStore SmallStore() {
    return TemporaryStore(
        {{{"FOLIO", "1"}, {"ESTADO", "Colima"}}, {{"FOLIO", "2"}, {"ESTADO", "Nayarit"}}});
}

// Puts a new version holding `rows` in place of `store`'s file, with a later time even within
// the same clock tick, as any real replacement has.
void Replace(const TemporaryStore& store, const std::vector<ProposalRow>& rows) {
    const TemporaryStore replacement(rows);
    QFile::remove(store.path());
    ASSERT_TRUE(QFile::copy(replacement.path(), store.path()));
    QFile file(store.path());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                 QFileDevice::FileModificationTime));
}

}  // namespace

TEST(DataFileErrors, NamedPipeGivesAnErrorWithoutWaiting) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("Tuberia.mdb"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const Outcome outcome = OpenAndCount(fifo);
    EXPECT_EQ(outcome.number, StoreError::FileUnreadable);
    EXPECT_TRUE(outcome.description.contains(fifo)) << outcome.description.toStdString();
}

TEST(AccessFile, DateValuesBecomeIsoText) {
    EXPECT_EQ(AccessDateText(0), QStringLiteral("1899-12-30 00:00:00"));
    EXPECT_EQ(AccessDateText(2.5), QStringLiteral("1900-01-01 12:00:00"));
    EXPECT_EQ(AccessDateText(-1.25), QStringLiteral("1899-12-29 06:00:00"));
    EXPECT_EQ(AccessDateText(44532.75), QStringLiteral("2021-12-02 18:00:00"));
    EXPECT_EQ(AccessDateText(2958465.99999999), QStringLiteral("10000-01-01 00:00:00"));
    EXPECT_EQ(AccessDateText(60.999999999), QStringLiteral("1900-03-01 00:00:00"));
}

TEST(DataFile, NeverWrittenHoweverOftenItIsOpenedAndQueried) {
    TemporaryStore store = SmallStore();
    QTemporaryDir dir;
    const QString access =
        WriteFile(dir, QStringLiteral("Copia.mdb"), ReadWholeFile(AccessTestFilePath()));
    for (const QString& path : {store.path(), access}) {
        const FolderState before = StateOf(path);
        for (int i = 0; i < 20; ++i) {
            ForgetKeptCopy();  // every other round builds the copy afresh
            for (int j = 0; j < 2; ++j) {
                SetProposalDataFile(path);
                OpenProposalStore();
                ForEachRow(QStringLiteral("SELECT * FROM sqlite_schema"), [](const Recordset&) {});
                try {
                    ProposalRecordset->Open(QStringLiteral("DELETE FROM ponencias"),
                                            *ProposalConnection);
                } catch (const StoreError&) {
                }
                ReleaseProposalStore();
            }
        }
        SetProposalDataFile(QString());
        EXPECT_EQ(StateOf(path), before) << path.toStdString();
    }
}

TEST(DataFile, KindIsToldByContentNotByName) {
    QTemporaryDir dir;
    const QString access =
        WriteFile(dir, QStringLiteral("Datos.sqlite"), ReadWholeFile(AccessTestFilePath()));
    EXPECT_EQ(OpenAndCount(access, QStringLiteral("DateTest")).rows, 6);
    const TemporaryStore sqlite = SmallStore();  // named Ponencias.mdb
    EXPECT_EQ(OpenAndCount(sqlite.path()).rows, 2);
    // The signature counts only where Access writes it, after a zero byte.
    const QString text = WriteFile(dir, QStringLiteral("Texto.mdb"),
                                   QByteArray("Una Standard Jet DB").leftJustified(8192, '\0'));
    EXPECT_EQ(OpenAndCount(text).number, StoreError::UnrecognizedFormat);
}

TEST(DataFile, NamesThatMeanSomethingInAddressesAreReadAsWritten) {
    TemporaryStore store = SmallStore();
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Año 2024 ?#%20&mode=rw ñ"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/Ponencias.mdb");
    ASSERT_TRUE(QFile::copy(store.path(), path));
    const FolderState before = StateOf(path);
    EXPECT_EQ(OpenAndCount(path).rows, 2);
    EXPECT_EQ(StateOf(path), before);
    // Relative to the working folder, as the name was given.
    const QString saved = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EXPECT_EQ(OpenAndCount(QStringLiteral("Año 2024 ?#%20&mode=rw ñ/../Año 2024 ?#%20&mode=rw "
                                          "ñ/Ponencias.mdb"))
                  .rows,
              2);
    QDir::setCurrent(saved);
}

TEST(DataFile, FileLeftInWriteAheadLogModeIsReadWithoutTouchingIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Ponencias.mdb"));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "PRAGMA journal_mode = WAL; CREATE TABLE PONENCIAS (FOLIO TEXT); "
                           "INSERT INTO PONENCIAS VALUES ('1'), ('2'), ('3');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const FolderState before = StateOf(path);
    EXPECT_EQ(OpenAndCount(path).rows, 3);
    EXPECT_EQ(StateOf(path), before);
}

TEST(DataFile, OnlyTheCopyOfTheVersionLastOpenedIsKeptAndReused) {
    ForgetKeptCopy();
    TemporaryStore store = SmallStore();
    std::weak_ptr<StoreSnapshot> earlier;
    {
        Connection connection;
        connection.Open(store.path());
        earlier = connection.snapshot();
    }
    Connection again;
    again.Open(store.path());
    EXPECT_EQ(again.snapshot(), earlier.lock());  // kept for the next opening
    again.Close();
    EXPECT_FALSE(again.isOpen());
    // A new version of the file (another proposal, so a new size and time) is read afresh.
    Replace(store, {{{"FOLIO", "1"}}, {{"FOLIO", "2"}}, {{"FOLIO", "3"}}});
    EXPECT_EQ(OpenAndCount(store.path()).rows, 3);
    EXPECT_TRUE(earlier.expired());  // that version can never come back
    // Another file's copy takes the place of the one kept.
    Connection first;
    first.Open(store.path());
    earlier = first.snapshot();
    first.Close();
    const TemporaryStore other = SmallStore();
    EXPECT_EQ(OpenAndCount(other.path()).rows, 2);
    EXPECT_TRUE(earlier.expired());
    ForgetKeptCopy();
}

// A file rewritten over and over while it is read is refused rather than read half old, half
// new; between two rewrites it may be read whole.
TEST(DataFile, FileChangedWhileReadIsRefused) {
    std::vector<ProposalRow> rows;
    for (int i = 0; i < 20000; ++i) {
        rows.push_back({{"FOLIO", QString::number(i)}, {"RESUMEN", QString(400, u'x')}});
    }
    const TemporaryStore store(rows);
    const QByteArray name = QFile::encodeName(store.path());
    std::atomic<bool> done = false;
    std::thread toucher([&] {
        for (long tick = 1; !done; ++tick) {
            const timespec times[2] = {{tick, 0}, {tick, 0}};
            utimensat(AT_FDCWD, name.constData(), times, 0);
        }
    });
    int changed = 0;
    for (int i = 0; i < 10; ++i) {
        ForgetKeptCopy();
        const Outcome outcome = OpenAndCount(store.path());
        if (outcome.number != 0) {
            EXPECT_EQ(outcome.number, StoreError::FileUnreadable);
            EXPECT_EQ(outcome.description,
                      QStringLiteral("El archivo de datos «%1» cambió mientras se leía; vuelva a "
                                     "intentarlo.")
                          .arg(store.path()));
            ++changed;
        } else {
            EXPECT_EQ(outcome.rows, 20000);
        }
    }
    done = true;
    toucher.join();
    EXPECT_GT(changed, 0);
    ForgetKeptCopy();
}
