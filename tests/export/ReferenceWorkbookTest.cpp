// The result workbooks a search hands over, kept in reference/ as the export made them when the
// sheet was last meant to change: every export below must give the same sheet, cell for cell
// (values, fonts, fills, borders, alignments, number formats, links, heights, widths, the frozen
// pane and the selection) and the same notices. The comparison is by content, never by the
// file's bytes, which another libxlsxwriter may lay out or compress otherwise. The small results
// are kept whole (.xltx), so a difference is shown cell by cell; the large ones as the digest of
// their cells (.txt). With PONENCIAS_WRITE_REFERENCES=1 the tests write the references anew from
// the export as it stands, for a change that means to change the sheet.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include "ExportTestSupport.h"
#include "XlsxReader.h"
#include "export/NamedFileExport.h"
#include "export/ResultHandOver.h"
#include "query/SearchQuery.h"
#include "store/ApplicationFolder.h"
#include "support/Files.h"
#include "support/SearchReference.h"

namespace ponencias::test {
namespace {

QString ReferencePath(const QString& file) {
    return QStringLiteral(PONENCIAS_SOURCE_DIR "/tests/export/reference/") + file;
}

bool WritingReferences() {
    return qEnvironmentVariableIsSet("PONENCIAS_WRITE_REFERENCES");
}

QString Digest(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// What must stay the same, as text: the address the links start with, the notices and the cells.
QString Manifest(const QString& path, const QStringList& notices) {
    QStringList lines{QStringLiteral("base ") + DocumentBaseAddress()};
    for (const QString& notice : notices) {
        lines << QStringLiteral("notice ") + QString(notice).replace('\n', QStringLiteral("\\n"));
    }
    const QStringList cells = CanonicalDump(ReadXlsx(path));
    lines << QStringLiteral("cells %1 lines %2")
                 .arg(Digest(cells.join('\n').toUtf8()))
                 .arg(cells.size());
    return lines.join('\n') + '\n';
}

// The first few lines that differ, for a readable failure.
void ExpectSameLines(const QStringList& made, const QStringList& reference) {
    int shown = 0;
    for (qsizetype i = 0; i < std::max(made.size(), reference.size()) && shown < 8; ++i) {
        if (made.value(i) != reference.value(i)) {
            ADD_FAILURE() << "line " << i
                          << "\n  made:      " << made.value(i).left(300).toStdString()
                          << "\n  reference: " << reference.value(i).left(300).toStdString();
            ++shown;
        }
    }
}

class ReferenceWorkbooks : public ExportTest {
protected:
    // The search's export of `query` against the reference `name`; with `keepWorkbook` the
    // reference is the whole template, and the companion's workbook is checked against it too.
    void expectReference(const QString& name, const QString& query, bool keepWorkbook) {
        if (!WritingReferences() && !QFile::exists(ReferencePath(name + ".txt"))) {
            FAIL() << "no reference " << ReferencePath(name + ".txt").toStdString();
        }
        ExportResultSheet(query);
        ASSERT_TRUE(feedback_.errors.isEmpty()) << feedback_.errors.join('\n').toStdString();
        ASSERT_EQ(feedback_.shownWorkbooks.size(), 1);
        const QString made = feedback_.shownWorkbooks[0];
        const QString manifest = Manifest(made, feedback_.notices);
        if (WritingReferences()) {
            QDir().mkpath(ReferencePath(QString()));
            WriteWholeFile(ReferencePath(name + ".txt"), manifest.toUtf8());
            if (keepWorkbook) {
                QFile::remove(ReferencePath(name + ".xltx"));
                ASSERT_TRUE(QFile::copy(made, ReferencePath(name + ".xltx")));
            }
            return;
        }
        if (keepWorkbook) {
            ExpectSameLines(CanonicalDump(ReadXlsx(made)),
                            CanonicalDump(ReadXlsx(ReferencePath(name + ".xltx"))));
            const QString workbook = temp_.filePath(QStringLiteral("companion.xlsx"));
            WriteResultWorkbook(query, workbook);
            ExpectTemplateOfWorkbook(made, workbook);
        }
        const QString reference = QString::fromUtf8(ReadWholeFile(ReferencePath(name + ".txt")));
        if (manifest != reference) {
            // The cells as made, to compare with those of the export that made the reference.
            const QString dump =
                QCoreApplication::applicationDirPath() + '/' + name + QStringLiteral(".cells.txt");
            WriteWholeFile(dump, CanonicalDump(ReadXlsx(made)).join('\n').toUtf8());
            ADD_FAILURE() << "the cells as made are in " << dump.toStdString();
        }
        EXPECT_EQ(manifest, reference);
    }
};

// The window's search with every filter on its all-entry, over the bundled sample.
TEST_F(ReferenceWorkbooks, TheWholeSample) {
    UseSampleDatabase();
    expectReference(QStringLiteral("muestra-completa"), BuildSearchQuery(SearchCriteria()), false);
    SetProposalDataFile(QString());
}

TEST_F(ReferenceWorkbooks, AFilteredSearchOfTheSample) {
    UseSampleDatabase();
    SearchCriteria criteria;
    criteria.EjeTematico = {1, QStringLiteral("Procedimientos electorales")};
    criteria.Palabra = QStringLiteral("voto");
    expectReference(QStringLiteral("muestra-filtrada"), BuildSearchQuery(criteria), true);
    SetProposalDataFile(QString());
}

// Quotes, control characters, NUL, emoji, right-to-left text and texts longer than a cell.
TEST_F(ReferenceWorkbooks, TheHostileValues) {
    TemporaryStore store(HostileRows(HostileValues()));
    store.use();
    expectReference(QStringLiteral("valores-hostiles"), BuildSearchQuery(SearchCriteria()), true);
}

// More rows than a sheet keeps link records, and than 16-bit row numbers reach: every row is
// written, every title linked by a formula.
TEST_F(ReferenceWorkbooks, MoreTitlesThanLinkRecords) {
    TemporaryStore store(MakeProposals(65531));
    store.use();
    expectReference(QStringLiteral("mas-de-65530-vinculos"), kAllProposals, false);
}

// Texts longer than a cell holds, cut where a character would be split; addresses too long for a
// link record, and one too long even for a formula; texts a spreadsheet could take for numbers or
// formulas; bytes that are not UTF-8.
TEST_F(ReferenceWorkbooks, TextsLongerThanACell) {
    std::vector<ProposalRow> rows = MakeProposals(7);
    rows[0]["RESUMEN"] = QStringLiteral("áé ").repeated(14000);
    rows[0]["TITULO"] = QString(33000, 'T');
    rows[1]["RESUMEN"] = QString(32766, 'x') + QStringLiteral("😀 y más");
    rows[2]["FOLIO"] = "302";
    rows[2]["TITULO"] = QString(35000, 't');
    rows[3]["FOLIO"] = QString(800, QChar(0xe9));
    rows[4]["FOLIO"] = QString(3000, QChar(0xe9));
    rows[5]["ID"] = "0302";
    rows[5]["EDAD"] = "123456789012345";
    rows[5]["SEXO"] = "1234567890123456";
    rows[5]["TITULO"] = "=1+1";
    rows[5]["RESUMEN"] = "literal _x0041_, control \x01\x1f y\ttab";
    rows[6]["SEXO"] = QByteArray("M\xff\xc3z");  // not UTF-8: read as replacement characters
    rows[6]["TITULO"] = QVariant();
    rows[6]["RESUMEN"] = QVariant();
    TemporaryStore store(rows);
    store.use();
    expectReference(QStringLiteral("textos-largos"), kAllProposals, true);
}

}  // namespace
}  // namespace ponencias::test
