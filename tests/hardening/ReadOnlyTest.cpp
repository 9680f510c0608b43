// The program only ever reads its data file: a whole session — loading the lists, every step
// of the topic cascade, searches and exports — leaves the file's bytes, its modification time
// and its folder exactly as they were, and everything works from a read-only folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include "CliRunner.h"
#include "export/NamedFileExport.h"
#include "query/MemoryQueryControls.h"
#include "store/ApplicationFolder.h"
#include "store/ProposalStore.h"
#include "support/Files.h"
#include "support/TestStore.h"

namespace ponencias::test {
namespace {

// A copy of the sample in a folder of its own.
class ReadOnlyStore : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = folder_.filePath(QStringLiteral("Ponencias.mdb"));
        ASSERT_TRUE(QFile::copy(SampleDatabasePath(), path_));
        SetProposalDataFile(path_);
    }
    void TearDown() override {
        SetProposalDataFile(QString());
        chmod(folder_.path().toLocal8Bit().constData(), 0700);
        chmod(path_.toLocal8Bit().constData(), 0600);
    }
    QTemporaryDir folder_;
    QTemporaryDir output_;
    QString path_;
};

TEST_F(ReadOnlyStore, WholeSessionLeavesTheFileAndItsFolderUntouched) {
    const FolderState before = StateOf(path_);

    MemoryQueryControls controls;
    MemoryListControl& eje = controls.EjeTemCbo;
    MemoryListControl& subtema = controls.SubtemaCbo;
    QueryFilters& filters = controls.Filters;
    controls.Load();
    int exports = 0;
    for (int axis = 0; axis < eje.ListCount(); ++axis) {
        eje.SetListIndex(axis);
        for (int subtopic = 0; subtopic < subtema.ListCount(); ++subtopic) {
            subtema.SetListIndex(subtopic);
        }
        if (subtema.ListCount() > 1) {
            subtema.SetListIndex(1);
            const QString query = filters.SearchQueryText();
            WriteResultWorkbook(query, output_.filePath(QStringLiteral("r%1.xlsx").arg(exports++)));
            QBuffer csv;
            csv.open(QIODevice::WriteOnly);
            WriteResultCsv(query, csv);
        }
    }
    filters.ClearCriteria();
    controls.BusquedaTxt.SetText(QStringLiteral("voto nulo"));
    EXPECT_GT(WriteResultWorkbook(filters.SearchQueryText(),
                                  output_.filePath(QStringLiteral("todo.xlsx"))),
              0);
    ReleaseProposalStore();

    EXPECT_GT(exports, 5);
    EXPECT_EQ(StateOf(path_), before);
}

TEST_F(ReadOnlyStore, EverythingWorksFromAReadOnlyFolder) {
    if (!PermissionsApply()) {
        GTEST_SKIP() << "running as root without setpriv";
    }
    ASSERT_EQ(chmod(path_.toLocal8Bit().constData(), 0444), 0);
    ASSERT_EQ(chmod(folder_.path().toLocal8Bit().constData(), 0555), 0);
    ASSERT_EQ(chmod(output_.path().toLocal8Bit().constData(), 0777), 0);
    const FolderState before = StateOf(path_);

    const CliResult lists =
        RunCli({"listas", "--base", path_, "--eje", "Procedimientos electorales"}, true);
    EXPECT_EQ(lists.exitCode, 0) << lists.err.toStdString();
    EXPECT_TRUE(lists.out.contains("# Subtema\n")) << lists.out.toStdString();

    const QString workbook = output_.filePath(QStringLiteral("resultado.xlsx"));
    const CliResult search =
        RunCli({"buscar", "--base", path_, "--palabra", "voto nulo", "--salida", workbook}, true);
    EXPECT_EQ(search.exitCode, 0) << search.err.toStdString();
    EXPECT_GT(search.out.trimmed().toInt(), 0);
    EXPECT_TRUE(QFile::exists(workbook));

    const CliResult sql =
        RunCli({"sql", "--base", path_, "SELECT COUNT(*) AS n FROM ponencias"}, true);
    EXPECT_EQ(sql.exitCode, 0) << sql.err.toStdString();
    EXPECT_TRUE(sql.out.contains("3420"));

    EXPECT_EQ(StateOf(path_), before);
}

}  // namespace
}  // namespace ponencias::test
