// Access files written by Access itself, read through the store: decimals exact, stale row
// counts, calculated columns, every column kind against mdb-export where mdb-export is right.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <utility>
#include <vector>

#include "ImportReply.h"
#include "StoreTestSupport.h"
#include "store/AccessImport.h"
#include "store/ApplicationFolder.h"
#include "store/ProposalStore.h"
#include "store/StoreError.h"
#include "store/StoreSnapshot.h"
#include "support/TestStore.h"

using namespace ponencias;
using namespace ponencias::test;

namespace {

// Every row of `sql` on `file`, each value as the store's text; `header` gets the column names.
std::vector<QStringList> Rows(const QString& file, const QString& sql,
                              QStringList* header = nullptr) {
    std::vector<QStringList> rows;
    SetProposalDataFile(file);
    OpenProposalStore();
    ProposalRecordset->Open(sql, *ProposalConnection);
    const QStringList names = ProposalRecordset->columnNames();
    if (header != nullptr) {
        *header = names;
    }
    for (ProposalRecordset->MoveFirst(); !ProposalRecordset->Eof(); ProposalRecordset->MoveNext()) {
        QStringList row;
        for (const QString& name : names) {
            row << ProposalRecordset->Fields(name).Text();
        }
        rows.push_back(row);
    }
    ReleaseProposalStore();
    SetProposalDataFile(QString());
    return rows;
}

// mdb-export writes a decimal or currency with every digit of its scale ("50.325000"); Access
// shows the number.
QString WithoutTrailingZeros(QString number) {
    static const QRegularExpression zeros(QStringLiteral("\\.?0+$"));
    return number.contains(u'.') ? number.remove(zeros) : number;
}

TEST(AccessFile, ReadsTextNumbersAndDatesLikeMdbExport) {
    QStringList header;
    const auto rows = Rows(AccessTestFilePath(),
                           QStringLiteral("SELECT * FROM datetest ORDER BY IDCol"), &header);
    EXPECT_EQ(
        Rows(AccessTestFilePath(), QStringLiteral("SELECT DISTINCT typeof(IDCol) FROM DateTest")),
        std::vector<QStringList>({{"integer"}}));

    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0][header.indexOf("DateTimeCol")], QStringLiteral("2021-12-02 00:00:00"));
    EXPECT_TRUE(rows[1][header.indexOf("DateCol")].startsWith(QStringLiteral("9999-")));
}

TEST(AccessSamples, DecimalsReadWithTheirOwnScaleAndSign) {
    const auto rows = Rows(AccessTestFile(QStringLiteral("fixedNumericTestV2003.mdb")),
                           QStringLiteral("SELECT * FROM test"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], QStringList({"some data", "1", "0", "0", "4", "-1", "1"}));
    // Held as numbers: they compare and add up as numbers.
    const auto sums = Rows(AccessTestFile(QStringLiteral("fixedNumericTestV2003.mdb")),
                           QStringLiteral("SELECT col2 + col5 + col6, col6 < 0 FROM test"));
    EXPECT_EQ(sums[0], QStringList({"4", "1"}));
}

TEST(AccessSamples, CharactersBeyondTheBasicPlaneReadWhole) {
    // Each row holds "a", one character stored as a surrogate pair, "a"; its key is the
    // character's code point.
    const QString file = AccessTestFile(QStringLiteral("testEmoticonsV2010.accdb"));
    const auto rows = Rows(file, QStringLiteral("SELECT key, data, length(data) FROM data"));
    ASSERT_EQ(rows.size(), 80u);
    for (const QStringList& row : rows) {
        EXPECT_EQ(row[1].toUcs4(), QList<uint>({'a', row[0].toUInt(), 'a'}))
            << row[0].toStdString();
        EXPECT_EQ(row[2], QStringLiteral("3"));
    }
    EXPECT_EQ(Rows(file, QStringLiteral("SELECT data FROM data WHERE key IN (128512, 128584) "
                                        "ORDER BY key")),
              (std::vector<QStringList>{{"a😀a"}, {"a🙈a"}}));
    EXPECT_TRUE(LoadStoreSnapshot(file)->importNotes().isEmpty());
}

TEST(AccessSamples, Jet3TextInTheFilesCodePageAndReplicationIdsAsAccessWritesThem) {
    // testV1997.mdb (code page 1252) with three rows in Table4.
    const QString file = AccessTestFile(QStringLiteral("textAndIdTestV1997.mdb"));
    EXPECT_EQ(
        Rows(file, QStringLiteral("SELECT name, data, data IS NULL FROM Table4")),
        (std::vector<QStringList>{
            {"a\u0081\u008D\u008F\u0090\u009Dz", "{8E39276A-BCA8-4AC4-891E-49911D8438DD}", "0"},
            {"Peña € Œœ ÿ", "{00112233-4455-6677-8899-AABBCCDDEEFF}", "0"},
            {"sin identificador", "", "1"}}));
    // What Access 97 wrote in the file it was made from.
    EXPECT_EQ(
        Rows(AccessTestFile(QStringLiteral("testV1997.mdb")),
             QStringLiteral("SELECT * FROM Table1 ORDER BY A")),
        (std::vector<QStringList>{{"a", "b", "0", "0", "0", "0", "1981-12-12 00:00:00", "0", "0"},
                                  {"abcdefg", "hijklmnop", "2", "222", "333333333", "444.555",
                                   "1974-09-21 00:00:00", "3.5", "1"}}));
    EXPECT_TRUE(LoadStoreSnapshot(file)->importNotes().isEmpty());
}

TEST(AccessSamples, EveryRowIsReadWhateverTheRecordedCountWithTheCalculatedValuesAccessStored) {
    const QString file = AccessTestFile(QStringLiteral("calcFieldTestV2010.accdb"));
    const auto rows = Rows(file, QStringLiteral("SELECT ID, FirstName, LastName, City, Salary, "
                                                "Popularity FROM Table1 ORDER BY ID"));
    const std::vector<QStringList> expected = {
        {"1", "Bruce", "Wayne", "Gotham", "1000000", "50.325"},
        {"2", "Bart", "Simpson", "Springfield", "-1", "-36.2222"},
        {"3", "John", "Doe", "Nowhere", "0", "0.0123"},
        {"4", "Test", "User", "Hockessin", "100", "102030405060.654321"},
    };
    EXPECT_EQ(rows, expected);
    // More digits than a double keeps still compare with numbers on the right side.
    EXPECT_EQ(Rows(file, QStringLiteral("SELECT ID FROM Table1 WHERE Popularity < 0")),
              std::vector<QStringList>({{"2"}}));
    EXPECT_EQ(Rows(file, QStringLiteral("SELECT ID FROM Table1 WHERE Popularity > 1000")),
              std::vector<QStringList>({{"4"}}));
    EXPECT_TRUE(LoadStoreSnapshot(file)->importNotes().isEmpty());

    const auto calculated =
        Rows(file, QStringLiteral("SELECT LastFirst, LastFirstLen, MonthlySalary, IsRich, "
                                  "AllNames, WeeklySalary, SalaryTest, BoolTest, DecimalTest, "
                                  "FloatTest FROM Table1 ORDER BY ID"));
    ASSERT_EQ(calculated.size(), 4u);
    EXPECT_EQ(calculated[0],
              QStringList({"Wayne, Bruce", "12", "83333.3333", "1", "Wayne, Bruce=Wayne, Bruce",
                           "19230.7692307692", "1000000", "1", "50.325", "2583.2092"}));
    EXPECT_EQ(calculated[1][0], QStringLiteral("Simpson, Bart"));
    EXPECT_EQ(calculated[1][1], QStringLiteral("13"));
    EXPECT_EQ(calculated[1][2], QStringLiteral("-0.0833"));
    EXPECT_EQ(calculated[1][3], QStringLiteral("0"));
    EXPECT_EQ(calculated[1][8], QStringLiteral("-36.2222"));
    EXPECT_EQ(calculated[2][4], QStringLiteral("Doe, John=Doe, John"));  // kept in the row itself
    EXPECT_EQ(calculated[3][8], QStringLiteral("102030405060.654321"));
}

// One row per column of the repository's Access files: the column kinds the import reads, each
// compared with mdb-export where mdb-export reads it right.
struct ColumnCase {
    const char* file;
    const char* table;
    const char* column;
    const char* kind;
};

const ColumnCase kColumnCases[] = {
    {"DateTestDatabase.mdb", "DateTest", "IDCol", "long integer"},
    {"DateTestDatabase.mdb", "DateTest", "LongTextCol", "memo"},
    {"DateTestDatabase.mdb", "DateTest", "ShortTextCol", "text"},
    {"fixedNumericTestV2003.mdb", "test", "col1", "memo (Jet 4)"},
    {"fixedNumericTestV2003.mdb", "test", "col2", "decimal (18, 0)"},
    {"fixedNumericTestV2003.mdb", "test", "col6", "negative decimal"},
    {"calcFieldTestV2010.accdb", "Table1", "ID", "long integer (ACE)"},
    {"calcFieldTestV2010.accdb", "Table1", "FirstName", "compressed text (ACE)"},
    {"calcFieldTestV2010.accdb", "Table1", "Salary", "currency"},
    {"calcFieldTestV2010.accdb", "Table1", "Popularity", "decimal (18, 6)"},
};

TEST(AccessColumnKinds, AgreeWithMdbExport) {
    for (const ColumnCase& c : kColumnCases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.column + " (" + c.kind + ")");
        const QString file = AccessTestFile(QString::fromLatin1(c.file));
        const std::vector<QStringList> exported =
            ParseCsv(MdbExport(file, QString::fromLatin1(c.table)));
        ASSERT_FALSE(exported.empty());
        const qsizetype at = exported[0].indexOf(QString::fromLatin1(c.column));
        ASSERT_GE(at, 0);
        // Both in the file's own order: mdb-export reads the data pages as the import does.
        const auto ours = Rows(file, QStringLiteral("SELECT [%1] FROM [%2]")
                                         .arg(QLatin1String(c.column), QLatin1String(c.table)));
        ASSERT_EQ(ours.size() + 1, exported.size());
        for (size_t r = 0; r < ours.size(); ++r) {
            EXPECT_EQ(ours[r][0], WithoutTrailingZeros(exported[r + 1][at])) << "row " << r;
        }
    }
}

// Damages the row offsets of `page` so its rows point beyond the page.
QByteArray WithBrokenDataPage(QByteArray bytes, int page) {
    const qsizetype offsets = qsizetype(page) * 4096 + 14;  // Jet 4: after the row count
    bytes[offsets] = char(0xf0);
    bytes[offsets + 1] = char(0x1f);
    return bytes;
}

// DateTest's first row moved the way Access moves a row that outgrows its page: its place keeps
// a pointer (flag 0x4000) to a copy at a new place on the page, flagged to be skipped by a scan
// (0x8000).
QByteArray WithFirstRowMoved(QByteArray bytes) {
    const qsizetype page = 20 * 4096;
    const auto word = [&](qsizetype at) {
        return int(uchar(bytes[page + at])) | int(uchar(bytes[page + at + 1])) << 8;
    };
    const auto setWord = [&](qsizetype at, int value) {
        bytes[page + at] = char(value & 0xff);
        bytes[page + at + 1] = char(value >> 8);
    };
    const int rows = word(12);
    const int first = word(14) & 0x1fff;
    const int size = 4096 - first;
    const int copy = (word(14 + 2 * (rows - 1)) & 0x1fff) - size;
    bytes.replace(page + copy, size, bytes.mid(page + first, size));
    setWord(14 + 2 * rows, copy | 0x8000);
    setWord(12, rows + 1);
    setWord(14, first | 0x4000);
    // The pointer: the page in the upper 24 bits, the row in the lowest 8.
    setWord(first, rows | (20 << 8));
    setWord(first + 2, 0);
    return bytes;
}

TEST(AccessRows, AMovedRowIsReadOnceWhereItsPointerStands) {
    QTemporaryDir dir;
    const QString path = WriteFile(dir, QStringLiteral("Trasladada.mdb"),
                                   WithFirstRowMoved(ReadWholeFile(AccessTestFilePath())));
    const QString sql = QStringLiteral("SELECT * FROM DateTest");
    EXPECT_EQ(Rows(path, sql), Rows(AccessTestFilePath(), sql));
}

TEST(AccessDamage, AnUnreadableTableIsLeftOutWithANoteUnlessTheStoreNeedsIt) {
    QTemporaryDir dir;
    // Page 20 holds DateTest's rows.
    const QByteArray damaged = WithBrokenDataPage(ReadWholeFile(AccessTestFilePath()), 20);
    const QString path = WriteFile(dir, QStringLiteral("Dañado.mdb"), damaged);
    const auto snapshot = LoadStoreSnapshot(path);
    ASSERT_EQ(snapshot->importNotes().size(), 1);
    EXPECT_TRUE(snapshot->importNotes()[0].contains(QLatin1String("DateTest")))
        << snapshot->importNotes()[0].toStdString();
    ExpectStoreError([&] { Rows(path, QStringLiteral("SELECT * FROM DateTest")); },
                     StoreError::TableNotFound);
    ReleaseProposalStore();
    SetProposalDataFile(QString());

    ExpectStoreError(
        [&] {
            ImportAccessDatabase(damaged, QStringLiteral("Dañado.mdb"), QStringLiteral("datetest"));
        },
        StoreError::CorruptFile, {QStringLiteral("Dañado.mdb"), QStringLiteral("DateTest")});
    EXPECT_EQ(
        ImportAccessDatabase(damaged, QStringLiteral("Dañado.mdb"), QStringLiteral("PONENCIAS"))
            .notes.size(),
        1);
}

// calcFieldTestV2010.accdb with a Date/Time Extended column and one of a kind no Access has
// defined yet added to Table1 (tests/data/access/add_extended_columns.py).
const QString kExtendedFile = QStringLiteral("extendedDateTest.accdb");

TEST(AccessColumnKinds, ExtendedDatesAsIsoTextAnUnknownKindEmptyWithANoteOrRefusedIfNeeded) {
    const QString path = AccessTestFile(kExtendedFile);
    EXPECT_EQ(Rows(path, QStringLiteral("SELECT ID, Momento, Futuro FROM Table1 ORDER BY ID")),
              (std::vector<QStringList>{{"1", "2021-12-02 18:30:15.1234567", ""},
                                        {"2", "0001-01-01 00:00:00.0000000", ""},
                                        {"3", "", ""},
                                        {"4", "9999-12-31 23:59:59.9999999", ""}}));
    // Every other column as in the file without the two.
    const QString others = QStringLiteral(
        "SELECT ID, FirstName, LastName, City, Salary, Popularity, LastFirst FROM Table1 "
        "ORDER BY ID");
    EXPECT_EQ(Rows(path, others),
              Rows(AccessTestFile(QStringLiteral("calcFieldTestV2010.accdb")), others));
    const auto snapshot = LoadStoreSnapshot(path);
    ASSERT_EQ(snapshot->importNotes().size(), 1);
    EXPECT_EQ(snapshot->importNotes()[0],
              QStringLiteral("La columna «Futuro» de la tabla «Table1» se lee vacía (tipo "
                             "desconocido)."));
    ExpectStoreError(
        [&] {
            ImportAccessDatabase(ReadWholeFile(path), QStringLiteral("Extendido.accdb"),
                                 QStringLiteral("TABLE1"));
        },
        StoreError::CorruptFile, {QStringLiteral("Table1"), QStringLiteral("«Futuro»")});
}

TEST(AccessSamples, ACalculatedValueAccessDidNotComputeIsNullWhateverItsKind) {
    // The row with ID 3 holds the values of a long integer, a yes/no, a double and a decimal
    // uncomputed: a length of 0 after the header.
    const QString path = AccessTestFile(kExtendedFile);
    EXPECT_EQ(Rows(path, QStringLiteral("SELECT ID, LastFirstLen IS NULL, IsRich IS NULL, "
                                        "WeeklySalary IS NULL, DecimalTest IS NULL FROM Table1 "
                                        "ORDER BY ID")),
              (std::vector<QStringList>{{"1", "0", "0", "0", "0"},
                                        {"2", "0", "0", "0", "0"},
                                        {"3", "1", "1", "1", "1"},
                                        {"4", "0", "0", "0", "0"}}));
    const QString computed = QStringLiteral(
        "SELECT LastFirstLen, IsRich, WeeklySalary, DecimalTest FROM Table1 WHERE ID <> 3 "
        "ORDER BY ID");
    EXPECT_EQ(Rows(path, computed),
              Rows(AccessTestFile(QStringLiteral("calcFieldTestV2010.accdb")), computed));
}

// DateTestDatabase.mdb with the memo "Year 9999" made to point to a chain of pages that is not
// there.
QByteArray WithBrokenMemo() {
    QByteArray bytes = ReadWholeFile(AccessTestFilePath());
    const QByteArray text = QByteArrayLiteral("\xff\xfeYear 9999");
    const qsizetype at = bytes.indexOf(text);
    if (at < 12 || bytes.indexOf(text, at + 1) >= 0) {
        return QByteArray();
    }
    bytes[at - 12 + 3] = 0;  // no longer kept in the row
    return bytes;
}

TEST(AccessDamage, AValueThatCannotBeReadCostsOnlyItselfUnlessItsTableIsNeeded) {
    const QByteArray damaged = WithBrokenMemo();
    ASSERT_FALSE(damaged.isEmpty());
    QTemporaryDir dir;
    const QString path = WriteFile(dir, QStringLiteral("Dañado.mdb"), damaged);
    const QString sql =
        QStringLiteral("SELECT IDCol, LongTextCol IS NULL FROM DateTest ORDER BY IDCol");
    std::vector<QStringList> expected = Rows(AccessTestFilePath(), sql);
    ASSERT_EQ(expected.size(), 6u);
    expected[1][1] = QStringLiteral("1");
    EXPECT_EQ(Rows(path, sql), expected);
    const auto snapshot = LoadStoreSnapshot(path);
    ASSERT_EQ(snapshot->importNotes().size(), 1);
    EXPECT_EQ(snapshot->importNotes()[0],
              QStringLiteral("El valor de la columna «LongTextCol» de la tabla «DateTest» en la "
                             "fila 2 no se pudo leer y queda vacío (un valor largo se interrumpe "
                             "antes de su final)."));
    ExpectStoreError(
        [&] {
            ImportAccessDatabase(damaged, QStringLiteral("Dañado.mdb"), QStringLiteral("DATETEST"));
        },
        StoreError::CorruptFile,
        {QStringLiteral("DateTest no se puede leer entera (la columna «LongTextCol», fila 2: un "
                        "valor largo se interrumpe antes de su final)")});
}

TEST(AccessDamage, ADamagedValueOfAnotherKindCostsOnlyItselfToo) {
    QByteArray bytes = ReadWholeFile(AccessTestFile(kExtendedFile));
    // The first row's time of day, 18:30:15.1234567, in its stored digits.
    const qsizetype at = bytes.indexOf(":0000000666151234567:7");
    ASSERT_GT(at, 0);
    bytes[at + 5] = 'x';
    const AccessImport imported =
        ImportAccessDatabase(bytes, QStringLiteral("Dañado.accdb"), QStringLiteral("PONENCIAS"));
    EXPECT_EQ(imported.notes,
              QStringList({QStringLiteral("El valor de la columna «Momento» de la tabla «Table1» "
                                          "en la fila 1 no se pudo leer y queda vacío (un valor "
                                          "de fecha y hora extendida no es válido)."),
                           QStringLiteral("La columna «Futuro» de la tabla «Table1» se lee vacía "
                                          "(tipo desconocido).")}));
}

// Inputs the importer's fuzz target found, each of which once crashed the importer or sent it
// round for ever; read here in this process, as the importer reads them. Where the damage is
// found by our own checks, the reply gives our reason; where libmdb finds it, the step at which
// it does and what it says change with its version, so only a reply that ends is asked for (the
// companion's answer to each file, a numbered error naming it, is the broken-files test's).
TEST(AccessDamage, FilesTheFuzzerFoundEndInTheImportersReply) {
    const std::pair<const char*, const char*> found[] = {
        // A property record of length 0 in the catalog: libmdb built property tables for ever.
        {"access-runaway-allocation.mdb",
         "el catálogo de objetos está dañado (las propiedades de un objeto están dañadas)"},
        // Properties whose record of length 0 lies past the value's declared length, where
        // libmdb still reads: it went round for ever, printing.
        {"access-properties-past-their-length.mdb",
         "el catálogo de objetos está dañado (las propiedades de un objeto están dañadas)"},
        // A catalog row at its page's very start, over the header: libmdb read far past the page.
        {"access-row-outside-page.accdb",
         "el catálogo de objetos está dañado (una fila sale de los límites de su página)"},
        // A table without a usage map: libmdb followed a null pointer.
        {"access-without-usage-map.mdb", ""},
    };
    for (const auto& [name, words] : found) {
        const ImportReplyText reply = ImportReply(
            ReadWholeFile(AccessTestFile(QString::fromLatin1(name))), QStringLiteral("PONENCIAS"));
        const QString said = reply.read ? DecodeAccessImport(reply.output)->notes.join(u'|')
                                        : QString::fromUtf8(reply.output);
        EXPECT_FALSE(said.isEmpty()) << name;
        EXPECT_TRUE(said.contains(QString::fromUtf8(words))) << name << ": " << said.toStdString();
    }
}

TEST(AccessDamage, AFileCutShortIsRefusedByItsPagesNotByRowCounts) {
    QTemporaryDir dir;
    // Each file cut at the page boundary just before the page holding its table's rows.
    for (const auto& [name, dataPage] :
         {std::pair{QStringLiteral("DateTestDatabase.mdb"), 20},
          std::pair{QStringLiteral("calcFieldTestV2010.accdb"), 90}}) {
        SCOPED_TRACE(name.toStdString());
        const QString path = WriteFile(
            dir, name, ReadWholeFile(AccessTestFile(name)).left(qsizetype(dataPage) * 4096));
        ExpectStoreError([&] { LoadStoreSnapshot(path); }, StoreError::CorruptFile, {path});
    }
}

}  // namespace
