// The result export end to end: a store built from rows, the export run as a search runs it, and
// the saved workbook read back from its XML.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>
#include <csignal>

#include "ExportTestSupport.h"
#include "XlsxReader.h"
#include "export/NamedFileExport.h"
#include "export/ResultHandOver.h"
#include "export/ResultSheetLayout.h"
#include "export/ResultWorkbookFile.h"
#include "store/ApplicationFolder.h"
#include "store/ProposalStore.h"
#include "support/Files.h"
#include "support/ParseCsv.h"

namespace ponencias::test {
namespace {

using ResultSheetExportTest = ExportTest;

// The search's workbook (its cells, styles, links and template are proved by the reference
// workbooks): each search's is handed over from the results folder, which holds nothing else and
// stays the user's own, never over another's, and the export lets go of everything it held.
TEST_F(ResultSheetExportTest, HandsOverTemplatesFromThePrivateResultsFolderAndLetsGo) {
    TemporaryStore store(MakeProposals(6));
    store.use();
    ExportResultSheet(kAllProposals);
    ExportResultSheet(kAllProposals);
    ASSERT_TRUE(feedback_.errors.isEmpty()) << feedback_.errors.join("\n").toStdString();
    EXPECT_EQ(feedback_.noRecords, 0);
    ASSERT_EQ(feedback_.shownWorkbooks.size(), 2);
    QStringList names;
    for (const QString& path : feedback_.shownWorkbooks) {
        EXPECT_EQ(QFileInfo(path).path(), ResultsFolder());
        EXPECT_TRUE(QFileInfo(path).fileName().startsWith("Consulta de ponencias "));
        EXPECT_TRUE(path.endsWith(".xltx")) << path.toStdString();
        EXPECT_EQ(ReadXlsx(path).maxRow(), 7);
        names << QFileInfo(path).fileName();
    }
    EXPECT_NE(names[0], names[1]);
    names.sort();
    EXPECT_EQ(QDir(ResultsFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name), names);
    EXPECT_EQ(QFileInfo(ResultsFolder()).permissions() & 0x0077, 0);
    EXPECT_FALSE(ProposalConnection);
    EXPECT_FALSE(ProposalRecordset);

    // Opened by name, the workbook a desktop for workbooks only is handed is what the user's save
    // overwrites: it is kept among the user's documents, never over another file, and nothing
    // more stays in the results folder.
    setDesktopSpreadsheets(DesktopSpreadsheets::WorkbooksOnly);
    ExportResultSheet(kAllProposals);
    ExportResultSheet(kAllProposals);
    ASSERT_EQ(feedback_.shownWorkbooks.size(), 4);
    EXPECT_NE(feedback_.shownWorkbooks[2], feedback_.shownWorkbooks[3]);
    for (const QString& path : feedback_.shownWorkbooks.mid(2)) {
        EXPECT_EQ(QFileInfo(path).path(), documentsFolder() + "/Consultas de ponencias");
        EXPECT_TRUE(QFileInfo(path).fileName().startsWith("Consulta de ponencias 20"));
        EXPECT_TRUE(path.endsWith(".xlsx"));
        EXPECT_TRUE(
            ReadZipPart(path, "[Content_Types].xml").contains("spreadsheetml.sheet.main+xml"));
        EXPECT_EQ(ReadXlsx(path).maxRow(), 7);
    }
    EXPECT_EQ(EntriesIn(documentsFolder() + "/Consultas de ponencias").size(), 2);
    EXPECT_EQ(EntriesIn(ResultsFolder()), names);
    EXPECT_TRUE(feedback_.information.isEmpty());
    EXPECT_TRUE(feedback_.errors.isEmpty());
}

// An empty result shows its message and no workbook; a store that fails is told as such, not as
// an empty result.
TEST_F(ResultSheetExportTest, EmptyResultShowsTheMessageAndAStoreFailureAnError) {
    TemporaryStore store(MakeProposals(3));
    store.use();
    EXPECT_EQ(DetectExcel(), DesktopSpreadsheets::Templates);
    ExportResultSheet("SELECT * FROM PONENCIAS WHERE FOLIO = 'ninguno'");
    EXPECT_EQ(feedback_.noRecords, 1);
    EXPECT_TRUE(feedback_.errors.isEmpty());
    EXPECT_TRUE(feedback_.shownWorkbooks.isEmpty());
    EXPECT_EQ(EntriesIn(ResultsFolder()), QStringList());
    EXPECT_FALSE(ProposalConnection);

    ExportResultSheet("SELECT * FROM PONENCIAS WHERE EJE_TEMATICO = 'Don't'");
    EXPECT_EQ(feedback_.noRecords, 1);
    ASSERT_EQ(feedback_.errors.size(), 1);
    EXPECT_TRUE(feedback_.errors[0].contains("almacén")) << feedback_.errors[0].toStdString();
    EXPECT_TRUE(feedback_.shownWorkbooks.isEmpty());

    SetProposalDataFile(temp_.filePath("no-such.mdb"));
    ExportResultSheet(kAllProposals);
    ASSERT_EQ(feedback_.errors.size(), 2);
    EXPECT_TRUE(feedback_.errors[1].contains("no-such.mdb")) << feedback_.errors[1].toStdString();
    EXPECT_FALSE(ProposalConnection);
    SetProposalDataFile(QString());
}

TEST_F(ResultSheetExportTest, AWorkbookIsKeptAcrossFileSystemsToo) {
    // A temporary folder in memory (tmpfs) and the documents on disk: the file is copied.
    QTemporaryDir memory(QStringLiteral("/dev/shm/ponencias-XXXXXX"));
    if (!memory.isValid()) {
        GTEST_SKIP() << "no /dev/shm";
    }
    const QString saved = memory.filePath("Consulta de ponencias.xlsx");
    const QString source = temp_.filePath("libro.xlsx");
    TemporaryStore store(MakeProposals(2));
    store.use();
    ASSERT_EQ(WriteResultWorkbook(kAllProposals, source), 2);
    ASSERT_TRUE(QFile::copy(source, saved));
    const QString kept = KeepResultFile(saved);
    EXPECT_EQ(QFileInfo(kept).path(), KeptResultsFolder());
    EXPECT_FALSE(QFileInfo::exists(saved));
    EXPECT_EQ(ReadWholeFile(kept), ReadWholeFile(source));
    EXPECT_EQ(EntriesIn(KeptResultsFolder()), QStringList{QFileInfo(kept).fileName()});
}

TEST_F(ResultSheetExportTest, AWorkbookThatCannotBeKeptIsNotHandedOverAndIsNamed) {
    setDesktopSpreadsheets(DesktopSpreadsheets::WorkbooksOnly);
    QDir().mkpath(documentsFolder());
    const QString blocker = documentsFolder() + "/Consultas de ponencias";
    WriteWholeFile(blocker, {});  // a file where the folder goes
    TemporaryStore store(MakeProposals(2));
    store.use();
    ExportResultSheet(kAllProposals);
    EXPECT_TRUE(feedback_.shownWorkbooks.isEmpty());
    const QStringList files = QDir(ResultsFolder()).entryList({"*.xlsx"}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    ASSERT_EQ(feedback_.information.size(), 1);
    EXPECT_EQ(feedback_.information[0],
              "No se pudo guardar el libro de resultados «" + blocker +
                  "»: El archivo ya existe. El libro está guardado en:\n" + ResultsFolder() + "/" +
                  files[0]);
    EXPECT_EQ(EntriesIn(documentsFolder()), QStringList{"Consultas de ponencias"});
}

// Lowers this process's file size limit (soft only, so it can be raised back) with SIGXFSZ
// ignored: a write past the limit then fails with EFBIG, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit lowered{bytes, old_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST_F(ResultSheetExportTest, AWorkbookThatCannotBeWrittenIsToldAndLeavesNoFile) {
    std::vector<ProposalRow> rows = MakeProposals(30);
    for (ProposalRow& row : rows) {
        row["RESUMEN"] = QString(4000, '&');  // the library's XML grows it fivefold
    }
    TemporaryStore store(rows);
    store.use();
    {
        const FileSizeLimit limit(64 * 1024);
        ExportResultSheet(kAllProposals);
    }
    EXPECT_TRUE(feedback_.shownWorkbooks.isEmpty());
    ASSERT_EQ(feedback_.errors.size(), 1);
    EXPECT_TRUE(feedback_.errors[0].startsWith("No se pudo guardar el libro de resultados «" +
                                               ResultsFolder() + "/Consulta de ponencias "))
        << feedback_.errors[0].toStdString();
    EXPECT_TRUE(feedback_.errors[0].endsWith(".xltx»: El archivo es demasiado grande"))
        << feedback_.errors[0].toStdString();
    EXPECT_EQ(EntriesIn(ResultsFolder()), QStringList());
    EXPECT_FALSE(ProposalConnection);

    // The next search works as if nothing had happened.
    ExportResultSheet(kAllProposals);
    ASSERT_EQ(feedback_.shownWorkbooks.size(), 1);
    EXPECT_EQ(ReadXlsx(feedback_.shownWorkbooks[0]).maxRow(), 31);
    EXPECT_EQ(feedback_.errors.size(), 1);
}

TEST_F(ResultSheetExportTest, RowsBeyondTheSheetAreToldNotCutSilently) {
    TemporaryStore store(MakeProposals(5));
    store.use();
    ExportResultSheetWithLimits(kAllProposals, {3, 65530});
    ASSERT_EQ(feedback_.shownWorkbooks.size(), 1);
    ASSERT_EQ(feedback_.notices.size(), 1);
    EXPECT_TRUE(feedback_.notices[0].contains("5 ponencias")) << feedback_.notices[0].toStdString();
    EXPECT_TRUE(feedback_.notices[0].contains("las 2 restantes"));
    const XlsxSheet sheet = ReadXlsx(feedback_.shownWorkbooks[0]);
    EXPECT_EQ(sheet.maxRow(), 4);
    EXPECT_EQ(sheet.rows.value(4).height, 150);
    EXPECT_EQ(sheet.rows.value(5).height, 0);
}

// Past the sheet's link records a title is linked by a formula, its quotes doubled, its
// characters whole where the formula's literals are cut.
TEST_F(ResultSheetExportTest, ATitleLinkedByAFormulaKeepsItsQuotesAndCharacters) {
    std::vector<ProposalRow> rows = MakeProposals(3);
    const QString letters(254, u'a');
    rows[1]["TITULO"] = letters + QStringLiteral("😀");
    rows[2]["TITULO"] = "Dice \"hola\"";
    TemporaryStore store(rows);
    store.use();
    ExportResultSheetWithLimits(kAllProposals, {kMaxDataRows, 2});
    ASSERT_EQ(feedback_.shownWorkbooks.size(), 1);
    const XlsxSheet sheet = ReadXlsx(feedback_.shownWorkbooks[0]);
    const XlsxCell* title = sheet.cell(4, 11);
    ASSERT_TRUE(title);
    EXPECT_EQ(title->formula, "HYPERLINK(\"" + DocumentAddress("3") + "\",\"Dice \"\"hola\"\"\")");
    EXPECT_EQ(title->value, "Dice \"hola\"");
    EXPECT_EQ(sheet.cell(3, 11)->formula,
              "HYPERLINK(\"" + DocumentAddress("2") + "\",\"" + letters + "\"&\"😀\")");
}

TEST(ResultSheetNames, UnlinkedFoliosAreReadAsNumbers) {
    for (const char* folio : {"302", "0302", " 302", "302 ", "3418", "1769.0"}) {
        EXPECT_TRUE(IsUnlinkedFolio(QString::fromUtf8(folio))) << folio;
    }
    for (const char* folio : {"303", "", "abc", "302a", "30 2", "-302"}) {
        EXPECT_FALSE(IsUnlinkedFolio(QString::fromUtf8(folio))) << folio;
    }
    EXPECT_TRUE(DocumentBaseAddress().endsWith("/ardem/ponencias/"));
    EXPECT_EQ(DocumentAddress("1234"), DocumentBaseAddress() + "1234.doc");
    EXPECT_EQ(DocumentAddress("1/2?é"), DocumentBaseAddress() + "1%2F2%3F%C3%A9.doc");
}

// The fitted columns keep their captions' widths in the narrow font: measured again here with the
// font's own metrics, as a spreadsheet application's fit measures them (bold, 11 points at 96
// dpi, no hinting), they come out the same. The font must be there: the set-up installs it.
TEST(ResultSheetLayoutWidths, FittedColumnsAreTheirCaptionsInTheNarrowFont) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial Narrow")});
    font.setBold(true);
    font.setPixelSize(1000);
    font.setHintingPreference(QFont::PreferNoHinting);
    const QString family = QFontInfo(font).family();
    ASSERT_TRUE(family == "Arial Narrow" || family == "Liberation Sans Narrow")
        << "Arial Narrow resolves to " << family.toStdString()
        << " (Debian 12: fonts-liberation; 13: fonts-liberation-sans-narrow)";
    const QFontMetricsF metrics(font);
    const QStringList fitted = {"FOLIO",
                                "EDAD",
                                "CATEGORÍA POR SUBTEMA",
                                "NORMATIVIDAD A MODIFICAR 1",
                                "NORMATIVIDAD A MODIFICAR 2",
                                "NORMATIVIDAD A MODIFICAR 3",
                                "NORMATIVIDAD A MODIFICAR 4"};
    for (const ResultColumn& column : kResultColumns) {
        const QString caption = QString::fromUtf8(column.caption);
        if (fitted.contains(caption)) {
            const double pixels = metrics.horizontalAdvance(caption) * (11 * 96 / 72.0) / 1000;
            EXPECT_EQ(column.width, FittedToCaption(int(std::ceil(pixels))))
                << column.caption << " measures " << pixels << " pixels";
        }
    }
}

// The first sheet of `file` as LibreOffice Calc reads it, converted headless to CSV (UTF-8) with
// a profile of its own; empty when it could not (the test then fails on the content).
QString ReadBackWithLibreOffice(const QString& soffice, const QString& file) {
    QTemporaryDir work;
    QProcess process;
    process.setWorkingDirectory(work.path());
    process.start(soffice, {"--headless", "-env:UserInstallation=file://" + work.filePath("lo"),
                            "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76", "--outdir",
                            work.filePath("csv"), file});
    process.waitForFinished(300000);
    const QStringList csv = QDir(work.filePath("csv")).entryList({"*.csv"});
    QFile converted(work.filePath("csv/" + csv.value(0)));
    if (csv.size() != 1 || !converted.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "LibreOffice did not convert " << file.toStdString() << ": "
                      << process.readAllStandardError().toStdString();
        return QString();
    }
    return QString::fromUtf8(converted.readAll());
}

// LibreOffice Calc opens the template the search hands over for the whole sample and reads back
// its header and every proposal, in the store's order.
TEST_F(ResultSheetExportTest, LibreOfficeReadsTheWholeSampleTemplate) {
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty()) {
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: the template is not read back";
    }
    if (!QFileInfo::exists(SampleDatabasePath())) {
        GTEST_SKIP() << "no sample database at " << SampleDatabasePath().toStdString();
    }
    UseSampleDatabase();
    QStringList folios;
    OpenProposalStore();
    ForEachRow(kAllProposals,
               [&](const Recordset& result) { folios << result.Fields("FOLIO").Text(); });
    ReleaseProposalStore();
    ExportResultSheet(kAllProposals);
    SetProposalDataFile(QString());
    ASSERT_EQ(feedback_.shownWorkbooks.size(), 1);
    ASSERT_TRUE(feedback_.shownWorkbooks[0].endsWith(".xltx"));
    const std::vector<QStringList> records =
        ParseCsv(ReadBackWithLibreOffice(soffice, feedback_.shownWorkbooks[0]).toUtf8());
    ASSERT_EQ(records.size(), 3421u);
    EXPECT_EQ(records[0].value(0), "FOLIO");
    EXPECT_EQ(records[0].value(15), "NORMATIVIDAD A MODIFICAR 4");
    for (int r = 1; r < 3421; ++r) {
        ASSERT_EQ(records[size_t(r)].size(), 16) << r;
        EXPECT_EQ(records[size_t(r)][0], folios.value(r - 1)) << r;
    }
}

}  // namespace
}  // namespace ponencias::test
