// The result export end to end: a store built from rows, the export run as a search runs it, and
// the saved workbook read back from its XML.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <csignal>

#include "ExportTestSupport.h"
#include "XlsxReader.h"
#include "export/ResultFiles.h"
#include "export/ResultFile.h"
#include "export/ResultSheetExport.h"
#include "store/ApplicationFolder.h"
#include "store/ProposalStore.h"
#include "support/ParseCsv.h"

namespace ponencias::test {
namespace {

using ResultSheetExportTest = ExportTest;

const char* const kCaptions[16] = {"FOLIO",
                                   "ID",
                                   "ESTADO / PAÍS",
                                   "EDAD",
                                   "SEXO",
                                   "PERFIL DEL PONENTE",
                                   "JORNADA",
                                   "EJE TEMÁTICO",
                                   "SUBTEMA",
                                   "CATEGORÍA POR SUBTEMA",
                                   "TÍTULO",
                                   "RESUMEN",
                                   "NORMATIVIDAD A MODIFICAR 1",
                                   "NORMATIVIDAD A MODIFICAR 2",
                                   "NORMATIVIDAD A MODIFICAR 3",
                                   "NORMATIVIDAD A MODIFICAR 4"};

// The checks every complete export must pass, against the rows the store gave.
void ExpectResultSheet(const XlsxSheet& sheet, const std::vector<ProposalRow>& rows) {
    for (int c = 1; c <= 16; ++c) {
        EXPECT_EQ(sheet.text(1, c), QString::fromUtf8(kCaptions[c - 1]));
        const XlsxStyle& header = sheet.styleAt(1, c);
        EXPECT_EQ(header.fillColor, "FF993300") << c;
        EXPECT_EQ(header.fontColor, "FFFFFFFF") << c;
        EXPECT_TRUE(header.bold);
        EXPECT_EQ(header.fontName, "Arial Narrow");
        EXPECT_EQ(header.fontSize, 11);
        EXPECT_EQ(header.horizontal, "center") << c;
        EXPECT_EQ(header.vertical, "center");
        EXPECT_EQ(header.borderLeft, "thin");
    }
    EXPECT_EQ(sheet.rows.value(1).height, 55);
    EXPECT_EQ(sheet.maxRow(), int(rows.size()) + 1);
    const int columns[] = {1, 2, 3, 6, 7, 8, 9, 10, 12, 13, 14, 15, 16};
    for (int r = 0; r < int(rows.size()); ++r) {
        const int R = r + 2;
        const ProposalRow& row = rows[size_t(r)];
        EXPECT_EQ(sheet.rows.value(R).height, 150) << R;
        for (int c = 1; c <= 16; ++c) {
            const XlsxStyle& style = sheet.styleAt(R, c);
            ASSERT_EQ(style.borderTop, "thin") << R << "," << c;
            EXPECT_EQ(style.borderBottom, "thin");
            EXPECT_EQ(style.fontName, "Arial Narrow") << R << "," << c;
            EXPECT_EQ(style.fontSize, 11);
            EXPECT_EQ(style.vertical, "top");
            EXPECT_TRUE(style.wrap);
            EXPECT_EQ(style.horizontal, c == 12 ? "justify" : "left") << R << "," << c;
        }
        for (int c : columns) {
            EXPECT_EQ(sheet.text(R, c), row.value(kResultColumns[size_t(c - 1)].field).toString())
                << R << "," << c;
        }
        const QString folio = row.value("FOLIO").toString();
        EXPECT_EQ(sheet.text(R, 11), row.value("TITULO").toString());
        if (IsUnlinkedFolio(folio)) {
            EXPECT_FALSE(sheet.links.contains({R, 11})) << folio.toStdString();
        } else {
            EXPECT_EQ(sheet.links.value({R, 11}), DocumentAddress(folio)) << folio.toStdString();
        }
    }
    EXPECT_EQ(sheet.paneState, "frozen");
    EXPECT_EQ(sheet.paneTopLeft, "A2");
    EXPECT_EQ(sheet.paneYSplit, 1);
    EXPECT_EQ(sheet.activeCell, "A2");
}

void ExpectColumnWidths(const XlsxSheet& sheet) {
    const std::pair<int, double> fixed[] = {{11, 70}, {12, 80}, {2, 16}, {3, 25}, {5, 12},
                                            {6, 20},  {7, 30},  {8, 50}, {9, 35}};
    for (const auto& [column, width] : fixed) {
        ASSERT_TRUE(sheet.columnWidth(column)) << column;
        EXPECT_NEAR(UserColumnWidth(*sheet.columnWidth(column)), width, 0.01) << column;
    }
    // The rest fit their bold captions, whatever the data below them.
    for (int column : {1, 4, 10, 13, 14, 15, 16}) {
        const double caption = TextPixelWidth(QString::fromUtf8(kCaptions[column - 1]), true);
        ASSERT_TRUE(sheet.columnWidth(column)) << column;
        const double pixels = UserColumnWidth(*sheet.columnWidth(column)) * 7;
        EXPECT_GE(pixels, caption) << column;
        EXPECT_LE(pixels, caption + 8) << column;
    }
}

TEST_F(ResultSheetExportTest, WritesTheFormattedSheetAndShowsIt) {
    std::vector<ProposalRow> rows = MakeProposals(6);
    rows[1]["FOLIO"] = "0302";                       // unlinked, read as a number
    rows[2]["FOLIO"] = "A 7#b";                      // not a number: linked, encoded
    rows[3]["TITULO"] = "=HYPERLINK(\"http://x\")";  // stays text
    rows[3]["RESUMEN"] = "+52 55 1234";
    rows[4]["RESUMEN"] = "-menos";
    rows[4]["NORMATIVIDAD_MODIFICAR_1"] = "@arroba";
    rows[5]["RESUMEN"] = QVariant();  // null: empty cell L
    rows[5]["TITULO"] = "Con\ncontrol\x01 y salto";
    rows[5]["SUBTEMA"] = "literal _x0041_ y _X00e9_";
    TemporaryStore store(rows);
    store.use();
    ObtainSpreadsheetApplication();  // as the query window's loading does

    ExportResultSheet(kAllProposals);

    ASSERT_TRUE(feedback_.errors.isEmpty()) << feedback_.errors.join("\n").toStdString();
    EXPECT_EQ(feedback_.noRecords, 0);
    ASSERT_EQ(feedback_.shownWorkbooks.size(), 1);
    const QString path = feedback_.shownWorkbooks[0];
    EXPECT_TRUE(path.startsWith(resultsFolder())) << path.toStdString();
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith("Consulta de ponencias "));
    EXPECT_TRUE(path.endsWith(".xltx")) << path.toStdString();
    rows[5]["RESUMEN"] = "";
    const XlsxSheet sheet = ReadXlsx(path);
    ExpectResultSheet(sheet, rows);
    ExpectColumnWidths(sheet);
    EXPECT_EQ(sheet.links.value({4, 11}), DocumentBaseAddress() + "A%207%23b.doc");
    EXPECT_EQ(sheet.cell(5, 11)->type, "inlineStr");
    EXPECT_EQ(sheet.cell(5, 11)->formula, "");
    EXPECT_EQ(sheet.cell(2, 1)->type, "n");          // digit texts are numbers
    EXPECT_EQ(sheet.cell(3, 1)->type, "inlineStr");  // "0302" keeps its zero
    // A linked title keeps the sheet font but shows as a link.
    EXPECT_EQ(sheet.styleAt(2, 11).fontName, "Arial Narrow");
    EXPECT_TRUE(sheet.styleAt(2, 11).underline);
    EXPECT_FALSE(sheet.styleAt(3, 11).underline);
    // The export lets go of everything it held.
    EXPECT_FALSE(SpreadsheetApp);
    EXPECT_FALSE(ProposalConnection);
    EXPECT_FALSE(ProposalRecordset);
}

// What the search hands over is the companion's workbook for the same rows, as a template: a
// spreadsheet application opens it as a new, untitled workbook.
TEST_F(ResultSheetExportTest, TheHandedOverTemplateIsTheWorkbookButForItsContentType) {
    std::vector<ProposalRow> rows = MakeProposals(40);
    rows[3]["FOLIO"] = "302";
    rows[7]["RESUMEN"] = QString(5000, 'x');
    TemporaryStore store(rows);
    store.use();
    ObtainSpreadsheetApplication();
    ExportResultSheet(kAllProposals);
    ASSERT_EQ(feedback_.shownWorkbooks.size(), 1);
    const QString workbook = temp_.filePath("libro.xlsx");
    ASSERT_EQ(WriteResultWorkbook(kAllProposals, workbook), 40);
    ExpectTemplateOfWorkbook(feedback_.shownWorkbooks[0], workbook);
    ExpectResultSheet(ReadXlsx(feedback_.shownWorkbooks[0]), rows);
    // Only the finished file is in the folder, which stays the user's own.
    EXPECT_EQ(QDir(ResultsFolder()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QFileInfo(feedback_.shownWorkbooks[0]).fileName()});
    EXPECT_EQ(QFileInfo(ResultsFolder()).permissions() & 0x0077, 0);
}

TEST_F(ResultSheetExportTest, TwoSearchesGiveTwoWorkbooksThatAreNeverOverwritten) {
    TemporaryStore store(MakeProposals(2));
    store.use();
    ObtainSpreadsheetApplication();
    ExportResultSheet(kAllProposals);
    ExportResultSheet(kAllProposals);  // SpreadsheetApp is empty: found again by DetectExcel
    ASSERT_EQ(feedback_.shownWorkbooks.size(), 2);
    EXPECT_NE(feedback_.shownWorkbooks[0], feedback_.shownWorkbooks[1]);
    for (const QString& path : feedback_.shownWorkbooks) {
        EXPECT_EQ(ReadXlsx(path).maxRow(), 3);
    }
    EXPECT_EQ(QDir(QFileInfo(feedback_.shownWorkbooks[0]).path())
                  .entryList({"*.xltx"}, QDir::Files)
                  .size(),
              2);
}

TEST_F(ResultSheetExportTest, EmptyResultShowsTheMessageAndNoWorkbook) {
    TemporaryStore store(MakeProposals(3));
    store.use();
    ObtainSpreadsheetApplication();
    EXPECT_EQ(SpreadsheetApp, DesktopSpreadsheets::Templates);
    ExportResultSheet("SELECT * FROM PONENCIAS WHERE FOLIO = 'ninguno'");
    EXPECT_EQ(feedback_.noRecords, 1);
    EXPECT_TRUE(feedback_.errors.isEmpty());
    EXPECT_TRUE(feedback_.shownWorkbooks.isEmpty());
    EXPECT_EQ(QDir(ResultsFolder()).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_FALSE(SpreadsheetApp);
    EXPECT_FALSE(ProposalConnection);
    EXPECT_EQ(QString::fromUtf8(kNoRecordsMessage),
              QStringLiteral("No se encontrarón registros con los criterios seleccionados"));
}

TEST_F(ResultSheetExportTest, StoreFailureIsReportedAsSuchNotAsNoRecords) {
    TemporaryStore store(MakeProposals(3));
    store.use();
    ObtainSpreadsheetApplication();
    ExportResultSheet("SELECT * FROM PONENCIAS WHERE EJE_TEMATICO = 'Don't'");
    EXPECT_EQ(feedback_.noRecords, 0);
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

TEST_F(ResultSheetExportTest, ADesktopForWorkbooksOnlyIsHandedAWorkbookInTheDocumentsFolder) {
    // Opened by name, the workbook is what the user's save overwrites: it is kept among the
    // user's documents, never over another file, and nothing stays in the temporary folder.
    setDesktopSpreadsheets(DesktopSpreadsheets::WorkbooksOnly);
    TemporaryStore store(MakeProposals(2));
    store.use();
    ObtainSpreadsheetApplication();
    ExportResultSheet(kAllProposals);
    ExportResultSheet(kAllProposals);
    ASSERT_EQ(feedback_.shownWorkbooks.size(), 2);
    EXPECT_NE(feedback_.shownWorkbooks[0], feedback_.shownWorkbooks[1]);
    for (const QString& path : feedback_.shownWorkbooks) {
        EXPECT_EQ(QFileInfo(path).path(), documentsFolder() + "/Consultas de ponencias");
        EXPECT_TRUE(QFileInfo(path).fileName().startsWith("Consulta de ponencias 20"));
        EXPECT_TRUE(path.endsWith(".xlsx"));
        EXPECT_TRUE(
            ReadZipPart(path, "[Content_Types].xml").contains("spreadsheetml.sheet.main+xml"));
        EXPECT_EQ(ReadXlsx(path).maxRow(), 3);
    }
    EXPECT_EQ(QDir(documentsFolder() + "/Consultas de ponencias")
                  .entryList(QDir::Files | QDir::Hidden)
                  .size(),
              2);
    EXPECT_TRUE(QDir(ResultsFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(feedback_.information.isEmpty());
    EXPECT_TRUE(feedback_.errors.isEmpty());
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
    QFile a(source), b(kept);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());
    EXPECT_EQ(QDir(KeptResultsFolder()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QFileInfo(kept).fileName()});
}

TEST_F(ResultSheetExportTest, AWorkbookThatCannotBeKeptIsNotHandedOverAndIsNamed) {
    setDesktopSpreadsheets(DesktopSpreadsheets::WorkbooksOnly);
    QDir().mkpath(documentsFolder());
    QFile blocker(documentsFolder() + "/Consultas de ponencias");  // a file where the folder goes
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TemporaryStore store(MakeProposals(2));
    store.use();
    ObtainSpreadsheetApplication();
    ExportResultSheet(kAllProposals);
    EXPECT_TRUE(feedback_.shownWorkbooks.isEmpty());
    const QStringList files = QDir(ResultsFolder()).entryList({"*.xlsx"}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    ASSERT_EQ(feedback_.information.size(), 1);
    EXPECT_EQ(feedback_.information[0],
              "No se pudo guardar el libro de resultados «" + blocker.fileName() +
                  "»: El archivo ya existe. El libro está guardado en:\n" + ResultsFolder() + "/" +
                  files[0]);
    EXPECT_EQ(QDir(documentsFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"Consultas de ponencias"});
}

TEST_F(ResultSheetExportTest, WithoutASpreadsheetApplicationTheMessageNamesTheFile) {
    setDesktopSpreadsheets(DesktopSpreadsheets::None);
    TemporaryStore store(MakeProposals(1));
    store.use();
    ObtainSpreadsheetApplication();
    ExportResultSheet(kAllProposals);
    EXPECT_TRUE(feedback_.shownWorkbooks.isEmpty());
    // The workbook is saved: information, not an error.
    EXPECT_TRUE(feedback_.errors.isEmpty());
    ASSERT_EQ(feedback_.information.size(), 1);
    const QStringList files = QDir(ResultsFolder()).entryList({"*.xlsx"}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(feedback_.information[0], SavedResultText(ResultsFolder() + "/" + files[0]));
    EXPECT_FALSE(QFileInfo::exists(documentsFolder()));

    // A desktop that refuses the file gets the same message.
    setDesktopSpreadsheets(DesktopSpreadsheets::Templates);
    feedback_.desktopTakesWorkbooks = false;
    ExportResultSheet(kAllProposals);
    ASSERT_EQ(feedback_.information.size(), 2);
    EXPECT_TRUE(feedback_.information[1].contains(feedback_.shownWorkbooks.value(0)));
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
    ObtainSpreadsheetApplication();
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
    EXPECT_EQ(
        QDir(ResultsFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList());
    EXPECT_FALSE(SpreadsheetApp);
    EXPECT_FALSE(ProposalConnection);

    // The next search works as if nothing had happened.
    ObtainSpreadsheetApplication();
    ExportResultSheet(kAllProposals);
    ASSERT_EQ(feedback_.shownWorkbooks.size(), 1);
    EXPECT_EQ(ReadXlsx(feedback_.shownWorkbooks[0]).maxRow(), 31);
    EXPECT_EQ(feedback_.errors.size(), 1);
}

TEST_F(ResultSheetExportTest, RowsBeyondTheSheetAreToldNotCutSilently) {
    TemporaryStore store(MakeProposals(5));
    store.use();
    ObtainSpreadsheetApplication();
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

TEST_F(ResultSheetExportTest, MoreRowsThanLinkRecordsLinkEveryTitleByAFormula) {
    std::vector<ProposalRow> rows = MakeProposals(4);
    rows[3]["TITULO"] = "Dice \"hola\" " + QString(300, 'x');
    TemporaryStore store(rows);
    store.use();
    ObtainSpreadsheetApplication();
    ExportResultSheetWithLimits(kAllProposals, {kMaxDataRows, 2});
    ASSERT_EQ(feedback_.shownWorkbooks.size(), 1);
    EXPECT_TRUE(feedback_.notices.isEmpty());
    const XlsxSheet sheet = ReadXlsx(feedback_.shownWorkbooks[0]);
    EXPECT_EQ(sheet.links.size(), 0);
    for (int R : {2, 3, 4, 5}) {
        const XlsxCell* title = sheet.cell(R, 11);
        ASSERT_TRUE(title);
        EXPECT_TRUE(title->formula.startsWith("HYPERLINK(\"" + DocumentBaseAddress()))
            << title->formula.toStdString();
        EXPECT_EQ(title->value, rows[size_t(R - 2)].value("TITULO").toString());
    }
    EXPECT_TRUE(sheet.cell(5, 11)->formula.contains("\"\"hola\"\""));
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
    FillHeaderCaptions();
    for (int c = 1; c <= 16; ++c) {
        EXPECT_EQ(HeaderCaptions[size_t(c)], QString::fromUtf8(kCaptions[c - 1]));
    }
}

// The whole bundled sample, as a search with no criteria gives it.
TEST_F(ResultSheetExportTest, WholeSampleReadsBackEqualToTheStore) {
    if (!QFileInfo::exists(SampleDatabasePath())) {
        GTEST_SKIP() << "no sample database at " << SampleDatabasePath().toStdString();
    }
    UseSampleDatabase();
    std::vector<ProposalRow> rows;
    OpenProposalStore();
    ForEachRow(kAllProposals, [&](const Recordset& result) {
        ProposalRow row;
        for (const ResultColumn& column : kResultColumns) {
            row[column.field] = result.Fields(column.field).Text();
        }
        rows.push_back(row);
    });
    ReleaseProposalStore();
    ObtainSpreadsheetApplication();
    ExportResultSheet(kAllProposals);
    SetProposalDataFile(QString());
    ASSERT_EQ(feedback_.shownWorkbooks.size(), 1);
    const XlsxSheet sheet = ReadXlsx(feedback_.shownWorkbooks[0]);
    EXPECT_EQ(rows.size(), 3420u);
    ExpectResultSheet(sheet, rows);
    ExpectColumnWidths(sheet);
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

// LibreOffice Calc, when installed, opens the workbook and reads every row back.
TEST_F(ResultSheetExportTest, LibreOfficeReadsEveryRow) {
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty()) {
        GTEST_SKIP() << "LibreOffice is not installed";
    }
    std::vector<ProposalRow> rows = MakeProposals(40);
    rows[0]["TITULO"] = "=1+1";
    rows[1]["RESUMEN"] = "Línea uno\nlínea dos, con \"comillas\"";
    TemporaryStore store(rows);
    store.use();
    ObtainSpreadsheetApplication();
    ExportResultSheet(kAllProposals);
    ASSERT_EQ(feedback_.shownWorkbooks.size(), 1);
    const QString text = ReadBackWithLibreOffice(soffice, feedback_.shownWorkbooks[0]);
    EXPECT_TRUE(text.startsWith("FOLIO,ID,ESTADO / PAÍS,EDAD,SEXO,"));
    EXPECT_TRUE(text.contains("=1+1"));
    EXPECT_TRUE(text.contains("\"Línea uno\nlínea dos, con \"\"comillas\"\"\""));
    EXPECT_TRUE(text.contains("Título de la ponencia 40,"));
    EXPECT_EQ(text.count("Resumen de la ponencia "), 39);
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
    ObtainSpreadsheetApplication();
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
