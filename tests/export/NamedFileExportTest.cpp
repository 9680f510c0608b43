// The command-line companion's workbook and CSV output.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>

#include "ExportTestSupport.h"
#include "XlsxReader.h"
#include "export/NamedFileExport.h"
#include "export/ResultSheetExport.h"
#include "store/ProposalStore.h"
#include "store/StoreError.h"

namespace ponencias::test {
namespace {

using NamedFileExportTest = ExportTest;

TEST_F(NamedFileExportTest, WorkbookGoesToTheNamedFileAndShowsNothing) {
    TemporaryStore store(MakeProposals(3));
    store.use();
    const QString path = temp_.filePath("salida.xlsx");
    EXPECT_EQ(WriteResultWorkbook(kAllProposals, path), 3);
    const XlsxSheet sheet = ReadXlsx(path);
    EXPECT_EQ(sheet.maxRow(), 4);
    EXPECT_EQ(sheet.text(1, 11), "TÍTULO");
    EXPECT_EQ(sheet.text(4, 11), "Título de la ponencia 3");
    EXPECT_EQ(sheet.activeCell, "A2");
    // A file the user names is a workbook, whatever the desktop opens.
    EXPECT_TRUE(ReadZipPart(path, "[Content_Types].xml").contains("spreadsheetml.sheet.main+xml"));
    EXPECT_TRUE(feedback_.shownWorkbooks.isEmpty());
    EXPECT_FALSE(ProposalConnection);

    const QString none = temp_.filePath("ninguno.xlsx");
    EXPECT_EQ(WriteResultWorkbook("SELECT * FROM PONENCIAS WHERE ID = 'x'", none), 0);
    EXPECT_FALSE(QFile::exists(none));
    EXPECT_THROW(WriteResultWorkbook("SELECT * FROM NADA", none), StoreError);
    EXPECT_FALSE(QFile::exists(none));
    EXPECT_FALSE(ProposalConnection);
}

TEST_F(NamedFileExportTest, CsvHasTheCaptionsThenTheRowsExactly) {
    std::vector<ProposalRow> rows = MakeProposals(2);
    rows[0]["FOLIO"] = "302";  // a folio without a document: its address is empty
    rows[1]["RESUMEN"] = "=2+2, \"dicho\"\nsegunda línea";
    rows[1]["NORMATIVIDAD_MODIFICAR_4"] = QVariant();
    TemporaryStore store(rows);
    store.use();
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    EXPECT_EQ(WriteResultCsv(kAllProposals, out), 2);
    const QList<QByteArray> lines = out.data().split('\n');
    EXPECT_EQ(lines[0],
              "FOLIO,ID,ESTADO / PAÍS,EDAD,SEXO,PERFIL DEL PONENTE,JORNADA,EJE TEMÁTICO,SUBTEMA,"
              "CATEGORÍA POR SUBTEMA,TÍTULO,RESUMEN,NORMATIVIDAD A MODIFICAR 1,NORMATIVIDAD A "
              "MODIFICAR 2,NORMATIVIDAD A MODIFICAR 3,NORMATIVIDAD A MODIFICAR 4,DIRECCIÓN DEL "
              "DOCUMENTO\r");
    EXPECT_TRUE(lines[1].startsWith("302,") && lines[1].endsWith(",Ley 1,No aplica,,,\r"));
    EXPECT_TRUE(out.data().contains("\"=2+2, \"\"dicho\"\"\nsegunda línea\",Ley 2,No aplica,,," +
                                    DocumentAddress("2").toUtf8() + "\r\n"));

    QBuffer empty;
    empty.open(QIODevice::WriteOnly);
    EXPECT_EQ(WriteResultCsv("SELECT * FROM PONENCIAS WHERE ID = 'x'", empty), 0);
    EXPECT_EQ(empty.data().count('\n'), 1);

    QBuffer failing;
    failing.open(QIODevice::WriteOnly);
    EXPECT_THROW(WriteResultCsv("SELECT * FROM NADA", failing), StoreError);
    EXPECT_TRUE(failing.data().isEmpty());
    EXPECT_FALSE(ProposalConnection);
}

}  // namespace
}  // namespace ponencias::test
