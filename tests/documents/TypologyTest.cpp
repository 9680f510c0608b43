// The typology read from a store: the whole document for small stores, compared with the
// expected text in tests/documents/expected, and what it counts in a file that stores its
// columns otherwise than the sample.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "data/NonSampleStore.h"
#include "documents/Documents.h"
#include "store/StoreSnapshot.h"
#include "support/TestStore.h"

namespace {

using namespace ponencias;
using namespace ponencias::documents;
using namespace ponencias::test;

// Four proposals covering every kind of section: NULL and empty values, a repeated folio, an
// axis the consultation does not have, a subtopic under two axes, a place abroad, the ages'
// bands and laws named in every column.
std::vector<ProposalRow> MixedProposals() {
    // clang-format off
    return RowsOf(AllProposalColumns(), {
        {"1", "10", "Jalisco", "23", "Hombre", "Académico", "2", "Participación ciudadana",
         "Financiamiento", "Topes", "Uno", "Texto largo uno", "Ley A", "Ley B", "No aplica", ""},
        {"2", "11", "México", "67", "Mujer", "", "10", "Procedimientos electorales",
         "Financiamiento", "Fiscalización", "Dos", "Otro", "Ley B"},
        {"3", "12", "España", "", "~", "~", "1", "Eje ajeno", "Otro", "", "~", "", "No aplica"},
        {"3", "~", "", "40", "~", "~", "~", "~", "~", "~", "~", "~", "Ley A", "Ley C", "Ley D",
         "Ley E", "Ley A"},
    });
    // clang-format on
}

// A file as another program may write it: FOLIO an integer column, ID text with zeros and a
// blank in front, and a column the program does not name.
TemporaryStore TypedStore() {
    QStringList columns = AllProposalColumns();
    columns[columns.indexOf(QStringLiteral("FOLIO"))] += QStringLiteral(" INTEGER");
    return TemporaryStore(RowsOf({"FOLIO", "ID", "EDAD", "EJE_TEMATICO"},
                                 {{"1", "007", "30", "Participación ciudadana"},
                                  {"2", "8", "30", "Participación ciudadana"},
                                  {"3", " 9", "30", "Participación ciudadana"}}),
                          columns + QStringList{QStringLiteral("EXTRA TEXT")});
}

// The document with a line break before each heading, paragraph, table and table row, so the
// expected text reads and compares line by line.
QString InLines(QString html) {
    html.replace(QRegularExpression(QStringLiteral("(<h[1-3]|<p[ >]|<table|<tr)")),
                 QStringLiteral("\n\\1"));
    return html.mid(1) + QLatin1Char('\n');
}

void ExpectDocument(const QString& dataFile, const char* expectedName) {
    const QString actual = InLines(TypologyHtml(*LoadStoreSnapshot(dataFile)));
    QFile expected(QStringLiteral(PONENCIAS_EXPECTED_DIR "/") + QLatin1String(expectedName));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly)) << expectedName;
    const QStringList want = QString::fromUtf8(expected.readAll()).split(QLatin1Char('\n'));
    const QStringList got = actual.split(QLatin1Char('\n'));
    // Line by line first, so a difference is shown where it is.
    for (qsizetype i = 0; i < std::min(want.size(), got.size()); ++i) {
        ASSERT_EQ(got[i].toStdString(), want[i].toStdString())
            << expectedName << ", line " << i + 1;
    }
    EXPECT_EQ(got.size(), want.size()) << expectedName;
}

// Each store's whole document; what it says of the way a file stores its columns (kinds,
// presence, identifiers) comes from the file.
TEST(Typology, WholeDocumentOfEachStore) {
    const TemporaryStore nonSample(NonSampleProposals());
    ExpectDocument(nonSample.path(), "typology-non-sample.txt");
    const TemporaryStore mixed(MixedProposals());
    ExpectDocument(mixed.path(), "typology-mixed.txt");
    const TemporaryStore typed = TypedStore();
    ExpectDocument(typed.path(), "typology-typed.txt");
}

}  // namespace
