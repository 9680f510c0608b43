// The connection, the recordset and the two program-wide slots, as the readers use them.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "StoreTestSupport.h"
#include "store/ApplicationFolder.h"
#include "store/ProposalStore.h"
#include "store/Recordset.h"
#include "store/StoreError.h"
#include "support/TestStore.h"

using namespace ponencias;
using ponencias::test::ExpectStoreError;
using ponencias::test::TemporaryStore;

namespace {

int ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const StoreError& error) {
        return error.number();
    }
    return 0;
}

class Slots : public ::testing::Test {
protected:
    void SetUp() override { store_.use(); }
    void TearDown() override { ReleaseProposalStore(); }

    TemporaryStore store_{{
        {{"FOLIO", "A-1"}, {"SUBTEMA", "Voto en el extranjero"}, {"ESTADO", QVariant()}},
        {{"FOLIO", "A-2"}, {"SUBTEMA", "Urnas electrónicas"}, {"ESTADO", "Yucatán"}},
        {{"FOLIO", "A-3"}, {"SUBTEMA", "Debates"}, {"ESTADO", "Sonora"}},
    }};
};

}  // namespace

TEST(ApplicationFolderTest, DataFileIsBesideTheProgramUnlessNamed) {
    SetProposalDataFile(QString());
    EXPECT_EQ(ProposalDataFile(), QCoreApplication::applicationDirPath() + "/Ponencias.mdb");
    SetApplicationFolderForTesting(QStringLiteral("/srv/ponencias/"));
    EXPECT_EQ(ProposalDataFile(), QStringLiteral("/srv/ponencias//Ponencias.mdb"));
    SetProposalDataFile(QStringLiteral("/tmp/other.mdb"));
    EXPECT_EQ(ProposalDataFile(), QStringLiteral("/tmp/other.mdb"));
    SetProposalDataFile(QString());
    SetApplicationFolderForTesting(QString());
}

TEST(ValueTextTest, EveryKindOfValueAsText) {
    EXPECT_EQ(ValueText(QVariant(qlonglong(-42))), QStringLiteral("-42"));
    EXPECT_EQ(ValueText(QVariant(2.5)), QStringLiteral("2.5"));
    EXPECT_EQ(ValueText(QVariant(1e20)), QStringLiteral("1e+20"));
    EXPECT_EQ(ValueText(QVariant(QStringLiteral("Sí"))), QStringLiteral("Sí"));
    EXPECT_EQ(ValueText(QVariant(QByteArray("Sí"))), QStringLiteral("Sí"));
}

TEST_F(Slots, RowLoopReadsFieldsInAnyCaseAndNullAsEmptyAndReleaseEmptiesTheSlots) {
    OpenProposalStore();
    OpenProposalStore();  // opening again replaces the objects
    QStringList seen;
    ForEachRow(QStringLiteral("SELECT SUBTEMA, estado AS Entidad FROM PONENCIAS ORDER BY folio"),
               [&](const Recordset& rows) {
                   seen << rows.Fields(QStringLiteral("subtema")).Text() + u'/' +
                               rows.Fields(QStringLiteral("ENTIDAD")).Text();
               });
    EXPECT_EQ(seen, QStringList({"Voto en el extranjero/", "Urnas electrónicas/Yucatán",
                                 "Debates/Sonora"}));
    // The loading leaves the connection open and the recordset closed.
    ASSERT_TRUE(ProposalConnection && ProposalConnection->isOpen());
    EXPECT_FALSE(ProposalRecordset->isOpen());
    int calls = 0;
    ForEachRow(QStringLiteral("SELECT FOLIO FROM ponencias WHERE 0"),
               [&](const Recordset&) { ++calls; });
    EXPECT_EQ(calls, 0);
    ReleaseProposalStore();
    EXPECT_EQ(ProposalConnection, nullptr);
    EXPECT_EQ(ProposalRecordset, nullptr);
    ReleaseProposalStore();  // harmless on empty slots
    EXPECT_EQ(
        ErrorNumberOf([] { ForEachRow(QStringLiteral("SELECT 1"), [](const Recordset&) {}); }),
        StoreError::NotOpen);
    Recordset loose;
    Connection closed;
    EXPECT_EQ(ErrorNumberOf([&] { loose.Open(QStringLiteral("SELECT 1"), closed); }),
              StoreError::NotOpen);
}

TEST_F(Slots, CursorMovesCountsAndReportsItsEnds) {
    OpenProposalStore();
    Recordset& rows = *ProposalRecordset;
    rows.Open(QStringLiteral("SELECT folio FROM ponencias ORDER BY folio"), *ProposalConnection);
    EXPECT_FALSE(rows.Bof());
    EXPECT_EQ(rows.Fields(QStringLiteral("FOLIO")).Text(), QStringLiteral("A-1"));
    rows.MoveNext();
    // Counting, first asked for part way, leaves the recordset where it stands.
    EXPECT_EQ(rows.RecordCount(), 3);
    EXPECT_EQ(rows.Fields(QStringLiteral("FOLIO")).Text(), QStringLiteral("A-2"));
    rows.MoveNext();
    EXPECT_EQ(rows.Fields(QStringLiteral("Folio")).Text(), QStringLiteral("A-3"));
    rows.MoveNext();
    EXPECT_TRUE(rows.Eof());
    rows.MoveFirst();
    EXPECT_EQ(rows.Fields(QStringLiteral("folio")).Text(), QStringLiteral("A-1"));
    EXPECT_EQ(ErrorNumberOf([&] { rows.Fields(QStringLiteral("FOLIOS")); }),
              StoreError::ColumnNotFound);
    rows.Close();
    rows.Close();  // harmless
    EXPECT_EQ(ErrorNumberOf([&] { (void)rows.Eof(); }), StoreError::NotOpen);
    EXPECT_EQ(ErrorNumberOf([&] { (void)rows.RecordCount(); }), StoreError::NotOpen);
    // The same object is opened again with the next query; an empty result is at both ends,
    // with its columns and no current record, and MoveFirst does no harm.
    rows.Open(QStringLiteral("SELECT FOLIO FROM ponencias WHERE FOLIO = 'none'"),
              *ProposalConnection);
    rows.MoveFirst();
    EXPECT_TRUE(rows.Bof());
    EXPECT_TRUE(rows.Eof());
    EXPECT_EQ(rows.RecordCount(), 0);
    EXPECT_EQ(rows.columnNames(), QStringList({"FOLIO"}));
    EXPECT_EQ(ErrorNumberOf([&] { rows.Fields(QStringLiteral("folio")); }),
              StoreError::NoCurrentRecord);
    EXPECT_EQ(ErrorNumberOf([&] { rows.MoveNext(); }), StoreError::NoCurrentRecord);
}

TEST_F(Slots, RejectedStatementsLeaveNoResultAndNoChange) {
    OpenProposalStore();
    Recordset& rows = *ProposalRecordset;
    rows.Open(QStringLiteral("SELECT folio FROM ponencias"), *ProposalConnection);
    const auto openWith = [&](const char* sql) {
        return ErrorNumberOf([&] { rows.Open(QString::fromUtf8(sql), *ProposalConnection); });
    };
    EXPECT_EQ(openWith("SELECT folio FROM nada"), StoreError::TableNotFound);
    EXPECT_FALSE(rows.isOpen());
    EXPECT_EQ(openWith("SELECT nada FROM ponencias"), StoreError::ColumnNotFound);
    EXPECT_EQ(openWith("SELEC folio FROM ponencias"), StoreError::SyntaxError);
    EXPECT_EQ(openWith("SELECT * FROM ponencias WHERE SUBTEMA = 'O'Higgins'"),
              StoreError::SyntaxError);
    EXPECT_EQ(openWith("SELECT 1; DELETE FROM ponencias"), StoreError::SyntaxError);
    EXPECT_EQ(openWith(""), StoreError::SyntaxError);
    EXPECT_EQ(openWith("DELETE FROM ponencias"), StoreError::ReadOnly);
    EXPECT_EQ(openWith("DROP TABLE ponencias"), StoreError::ReadOnly);
    EXPECT_EQ(openWith("ATTACH '/tmp/x.db' AS x"), StoreError::ReadOnly);
    EXPECT_EQ(openWith("PRAGMA writable_schema = 1"), StoreError::ReadOnly);
    // SQLite itself loads no extension.
    EXPECT_EQ(openWith("SELECT load_extension('x')"), StoreError::StatementFailed);
    EXPECT_EQ(openWith("SELECT abs(-9223372036854775808)"), StoreError::StatementFailed);
    // Told by SQLite's result code, not by a word of the message.
    EXPECT_EQ(openWith("SELECT readonly()"), StoreError::StatementFailed);
    EXPECT_FALSE(rows.isOpen());
    ExpectStoreError(
        [&] { rows.Open(QStringLiteral("SELECT folio FROM nada"), *ProposalConnection); },
        StoreError::TableNotFound, {QStringLiteral("SELECT folio FROM nada"), store_.path()});
    rows.Open(QStringLiteral("SELECT COUNT(*) AS n FROM ponencias"), *ProposalConnection);
    EXPECT_EQ(rows.Fields(QStringLiteral("n")).Text(), QStringLiteral("3"));
}

namespace {

// A result of `count` rows numbered from `count` down (from 1 up when not `ordered`), with a
// value of every kind. `failAt` > 0 makes the statement fail on that row.
QString CountedRowsQuery(int count, int failAt = 0, bool ordered = true) {
    return QStringLiteral(
               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
               "SELECT i, i * 0.5 AS half, NULL AS nada, x'00ff' AS bytes, CASE WHEN i = %2 THEN "
               "abs(-9223372036854775808) ELSE printf('%03d-á', i) END AS texto FROM n")
               .arg(count)
               .arg(failAt) +
           (ordered ? QStringLiteral(" ORDER BY i DESC") : QString());
}

}  // namespace

TEST_F(Slots, RowsAreReadInOrderWithTheirCountKnownFromTheStart) {
    OpenProposalStore();
    Recordset& rows = *ProposalRecordset;
    constexpr int kRows = 500;
    rows.Open(CountedRowsQuery(kRows), *ProposalConnection);
    ASSERT_EQ(rows.RecordCount(), kRows);
    long read = 0;
    bool same = true;
    while (!rows.Eof()) {
        const int i = kRows - int(read);
        same = same && rows.Fields(QStringLiteral("I")).Value == QVariant(qlonglong(i)) &&
               rows.Fields(QStringLiteral("half")).Value == QVariant(i * 0.5) &&
               rows.Fields(QStringLiteral("nada")).Value.isNull() &&
               rows.Fields(QStringLiteral("bytes")).Value == QVariant(QByteArray("\0\xff", 2)) &&
               rows.Fields(QStringLiteral("texto")).Text() ==
                   QStringLiteral("%1-á").arg(i, 3, 10, QLatin1Char('0'));
        // The UTF-8 reading says what the text does, reals ("250", not SQLite's "250.0") included.
        for (int c = 0; c < rows.columnNames().size(); ++c) {
            same = same && QString::fromUtf8(rows.text(c)) == ValueText(rows.value(c));
        }
        ++read;
        rows.MoveNext();
    }
    EXPECT_TRUE(same);
    EXPECT_EQ(read, kRows);
    EXPECT_EQ(ErrorNumberOf([&] { rows.MoveNext(); }), StoreError::NoCurrentRecord);
    rows.MoveFirst();
    EXPECT_EQ(rows.Fields(QStringLiteral("i")).Text(), QString::number(kRows));
    rows.MoveNext();
    EXPECT_EQ(rows.Fields(QStringLiteral("i")).Text(), QString::number(kRows - 1));
    // Counted as the statement stands, a statement no query can hold included.
    rows.Open(QStringLiteral("SELECT folio FROM ponencias LIMIT 2; -- dos"), *ProposalConnection);
    EXPECT_EQ(rows.RecordCount(), 2);
    rows.Open(QStringLiteral("SELECT folio FROM ponencias ORDER BY 1 LIMIT 1"),
              *ProposalConnection);
    EXPECT_EQ(rows.RecordCount(), 1);
    rows.Open(QStringLiteral("VALUES (1), (2), (3), (4)"), *ProposalConnection);
    EXPECT_EQ(rows.RecordCount(), 4);
    rows.Open(QStringLiteral("EXPLAIN SELECT folio FROM ponencias"), *ProposalConnection);
    long walked = 0;
    for (; !rows.Eof(); rows.MoveNext()) {
        ++walked;
    }
    EXPECT_GT(walked, 0);
    EXPECT_EQ(rows.RecordCount(), walked);
}

// A statement that fails part way fails at Open or at the move that meets the failure, never
// ending early as if its result were whole.
TEST_F(Slots, AStatementThatFailsPartWayIsNeverAWholeResult) {
    OpenProposalStore();
    Recordset& rows = *ProposalRecordset;
    for (const bool ordered : {true, false}) {
        long read = 0;
        ExpectStoreError(
            [&] {
                rows.Open(CountedRowsQuery(500, 200, ordered), *ProposalConnection);
                for (; !rows.Eof(); rows.MoveNext()) {
                    (void)rows.Fields(QStringLiteral("texto"));
                    ++read;
                }
            },
            StoreError::StatementFailed, {QStringLiteral("abs(")});
        EXPECT_LT(read, 500);
        EXPECT_FALSE(rows.isOpen());
    }
}

TEST(StatementText, NulInsideAQuotedValueIsPartOfTheValue) {
    const QString nul(QChar(0));
    const QString value = QStringLiteral("antes") + nul + QStringLiteral("O'Brien") + nul;
    TemporaryStore store({{{"FOLIO", value}}, {{"FOLIO", QStringLiteral("antes")}}});
    store.use();
    OpenProposalStore();
    Recordset& rows = *ProposalRecordset;
    QString quoted = value;
    quoted.replace(u'\'', QStringLiteral("''"));
    // A comment and a quoted name holding quotes come first: neither starts a literal.
    rows.Open(QStringLiteral("SELECT folio AS \"it's\" FROM ponencias -- it's\nWHERE folio = '") +
                  quoted + QStringLiteral("' /* ' */"),
              *ProposalConnection);
    ASSERT_EQ(rows.RecordCount(), 1);
    EXPECT_EQ(rows.Fields(QStringLiteral("IT'S")).Text(), value);
    EXPECT_EQ(ErrorNumberOf([&] {
                  rows.Open(QStringLiteral("SELECT folio FROM ponencias") + nul +
                                QStringLiteral(" WHERE 1"),
                            *ProposalConnection);
              }),
              StoreError::SyntaxError);
    ReleaseProposalStore();
    SetProposalDataFile(QString());
}
