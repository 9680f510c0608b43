// The application folder's documents: the build delivers them, and derived from a data file
// other than the sample the workbook holds exactly that file's rows, the typology names its
// values, and a file that is not a proposals database leaves the folder as it was.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <stdexcept>

#include "data/NonSampleStore.h"
#include "documents/ApplicationDocuments.h"
#include "export/XlsxReader.h"
#include "hardening/CliRunner.h"
#include "store/ApplicationFolder.h"
#include "store/StoreError.h"
#include "support/Files.h"

namespace {

using namespace ponencias;
using namespace ponencias::test;

const QString kWorkbook = QString::fromUtf8(kDatabaseWorkbookFileName);
const QString kTypology = QString::fromUtf8(kTypologyFileName);
const QString kGlossary = QString::fromUtf8(kGlossaryFileName);

QString PdfText(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0) {
        throw std::runtime_error("pdftotext (poppler-utils) could not read " + path.toStdString());
    }
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

// A folder whose documents are already there: what a failing run must leave untouched.
struct FolderWithPreviousDocuments {
    QTemporaryDir dir;
    FolderWithPreviousDocuments() {
        for (const QString& name : {kWorkbook, kTypology, kGlossary}) {
            WriteWholeFile(dir.filePath(name), "previous " + name.toUtf8());
        }
    }
    void expectUntouched() const {
        EXPECT_EQ(EntriesIn(dir.path()).size(), 3);
        for (const QString& name : {kWorkbook, kTypology, kGlossary}) {
            EXPECT_EQ(ReadWholeFile(dir.filePath(name)), "previous " + name.toUtf8())
                << name.toStdString();
        }
    }
};

TEST(SampleDocuments, BothPdfDocumentsAreInTheApplicationFolder) {
    for (const QString& name : {kGlossary, kTypology}) {
        QFile document(QStringLiteral(PONENCIAS_APP_DIR "/") + name);
        ASSERT_TRUE(document.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_TRUE(document.read(5) == "%PDF-") << name.toStdString();
        EXPECT_GT(document.size(), 20000) << name.toStdString();
    }
}

// The command replaces the three documents, says nothing, and what they hold is the data file's.
TEST(DerivedDocuments, CommandWritesTheThreeDocumentsOfTheDataFileNotTheSample) {
    const TemporaryStore store(NonSampleProposals());
    FolderWithPreviousDocuments folder;
    const CliResult result =
        RunCli({"documentos", "--base", store.path(), "--carpeta", folder.dir.path()});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.err.isEmpty());
    EXPECT_EQ(EntriesIn(folder.dir.path()).size(), 3);
    // Readable by everyone, as any file the build or the user makes.
    EXPECT_TRUE(QFile::permissions(folder.dir.filePath(kTypology)) & QFile::ReadOther);

    const XlsxSheet sheet = ReadXlsx(folder.dir.filePath(kWorkbook));
    ASSERT_EQ(sheet.maxRow(), 1 + int(NonSampleProposals().size()));
    QSet<QString> folios, titles, states;
    for (int row = 2; row <= sheet.maxRow(); ++row) {
        folios << sheet.text(row, 1);
        states << sheet.text(row, 3);
        titles << sheet.text(row, 11);
    }
    EXPECT_EQ(folios, (QSet<QString>{"9001", "9002", "9003"}));
    EXPECT_EQ(states, (QSet<QString>{"Ultramaría", "Islas Ñúblicas"}));
    EXPECT_EQ(titles, (QSet<QString>{"Título único de Zoë", "Otra ponencia de Añil",
                                     "Tercera propuesta de Öland"}));

    const QString typology = PdfText(folder.dir.filePath(kTypology));
    for (const char* value :
         {"Ultramaría", "Islas Ñúblicas", "Pingüinos d'Aragón", "Cigüeñas", "Ñandúes de l'Empordà",
          "Vía Láctea y pequeñez", "Cañero jubilado", "Ley del Ñandú", "Código Ártico"}) {
        EXPECT_TRUE(typology.contains(QString::fromUtf8(value))) << value;
    }
    // Counted in this file: three proposals, none of the sample's 3,420 or its entities.
    EXPECT_TRUE(typology.contains(QStringLiteral("reúne 3 ponencias")));
    EXPECT_FALSE(typology.contains(QStringLiteral("3,420")));
    EXPECT_FALSE(typology.contains(QStringLiteral("Aguascalientes")));
    EXPECT_TRUE(PdfText(folder.dir.filePath(kGlossary)).contains(QStringLiteral("COFIPE")));
}

TEST(DerivedDocuments, FileThatIsNotAProposalsDatabaseWritesNothing) {
    FolderWithPreviousDocuments folder;
    // An Access file without PONENCIAS: the store's numbered message, naming the file.
    const QString access = QStringLiteral(PONENCIAS_ACCESS_WITHOUT_PROPOSALS);
    ASSERT_TRUE(QFile::exists(access)) << access.toStdString();
    CliResult result = RunCli({"documentos", "--base", access, "--carpeta", folder.dir.path()});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.startsWith("Error 3078: ")) << result.err.toStdString();
    EXPECT_TRUE(QString::fromUtf8(result.err).contains(access));
    EXPECT_TRUE(result.out.isEmpty());
    folder.expectUntouched();

    // No proposal at all. (Files the store refuses otherwise are BrokenDataFile's.)
    const TemporaryStore empty({});
    result = RunCli({"documentos", "--base", empty.path(), "--carpeta", folder.dir.path()});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(QString::fromUtf8(result.err).contains(empty.path()));
    folder.expectUntouched();
}

TEST(DerivedDocuments, UnwritableOutputIsUsageStatusAndKeepsThePreviousDocument) {
    const TemporaryStore store(NonSampleProposals());
    QTemporaryDir parent;
    const QString missing = parent.filePath(QStringLiteral("no-existe"));
    CliResult result = RunCli({"documentos", "--base", store.path(), "--carpeta", missing});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(QString::fromUtf8(result.err).contains(missing + QLatin1Char('/') + kWorkbook))
        << result.err.toStdString();
    EXPECT_FALSE(QFile::exists(missing));

    result = RunCli({"documentos", "--base", store.path()});
    EXPECT_EQ(result.exitCode, 1);

    // A write that fails half-way (the file system refuses to let a file grow): the previous
    // documents stay, and no partial file is left.
    FolderWithPreviousDocuments folder;
    CliOptions limited;
    limited.fileSizeLimit = 2000;
    result =
        RunCli({"documentos", "--base", store.path(), "--carpeta", folder.dir.path()}, limited);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(
        QString::fromUtf8(result.err).contains(QStringLiteral("El archivo es demasiado grande")))
        << result.err.toStdString();
    folder.expectUntouched();
}

}  // namespace
