// Access files written by Access itself, read through the store: decimals exact, stale row
// counts, calculated columns, every column kind against mdb-export where mdb-export is right.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <utility>
#include <vector>

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
    ProposalRecordset->Open(sql, *ProposalConnection, adOpenDynamic, adLockOptimistic);
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
    if (number.contains(u'.')) {
        while (number.endsWith(u'0')) {
            number.chop(1);
        }
        if (number.endsWith(u'.')) {
            number.chop(1);
        }
    }
    return number;
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
    EXPECT_EQ(rows[1][header.indexOf("LongTextCol")], QStringLiteral("Year 9999"));
    EXPECT_TRUE(rows[1][header.indexOf("DateCol")].startsWith(QStringLiteral("9999-")));
    EXPECT_EQ(rows[5][header.indexOf("LongTextCol")], QStringLiteral("New line\r\nin field"));

    const QByteArray exported = MdbExport(AccessTestFilePath(), QStringLiteral("DateTest"));
    ASSERT_FALSE(exported.isEmpty());
    const std::vector<QStringList> expected = ParseCsv(exported);
    ASSERT_EQ(expected.size(), rows.size() + 1);
    EXPECT_EQ(expected[0], header);
    for (size_t r = 0; r < rows.size(); ++r) {
        for (qsizetype c = 0; c < header.size(); ++c) {
            if (header[c].contains(QLatin1String("Date")) ||
                header[c].contains(QLatin1String("Time"))) {
                continue;  // mdb-export cannot write dates outside 1900-2700; ours are ISO text
            }
            EXPECT_EQ(rows[r][c], expected[r + 1][c])
                << "row " << r << " " << header[c].toStdString();
        }
    }
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

TEST(AccessSamples, EveryRowTheDataPagesHoldIsReadWhateverTheRecordedCount) {
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
}

TEST(AccessSamples, CalculatedColumnsGiveTheValuesAccessStored) {
    const auto rows =
        Rows(AccessTestFile(QStringLiteral("calcFieldTestV2010.accdb")),
             QStringLiteral("SELECT LastFirst, LastFirstLen, MonthlySalary, IsRich, AllNames, "
                            "WeeklySalary, SalaryTest, BoolTest, DecimalTest, FloatTest "
                            "FROM Table1 ORDER BY ID"));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0],
              QStringList({"Wayne, Bruce", "12", "83333.3333", "1", "Wayne, Bruce=Wayne, Bruce",
                           "19230.7692307692", "1000000", "1", "50.325", "2583.2092"}));
    EXPECT_EQ(rows[1][0], QStringLiteral("Simpson, Bart"));
    EXPECT_EQ(rows[1][1], QStringLiteral("13"));
    EXPECT_EQ(rows[1][2], QStringLiteral("-0.0833"));
    EXPECT_EQ(rows[1][3], QStringLiteral("0"));
    EXPECT_EQ(rows[1][8], QStringLiteral("-36.2222"));
    EXPECT_EQ(rows[2][4], QStringLiteral("Doe, John=Doe, John"));  // kept in the row itself
    EXPECT_EQ(rows[3][8], QStringLiteral("102030405060.654321"));
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
    const QString path = dir.filePath(QStringLiteral("Trasladada.mdb"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(WithFirstRowMoved(ReadWholeFile(AccessTestFilePath())));
    }
    const QString sql = QStringLiteral("SELECT * FROM DateTest");
    EXPECT_EQ(Rows(path, sql), Rows(AccessTestFilePath(), sql));
}

TEST(AccessDamage, AnUnreadableSideTableIsLeftOutWithANote) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Dañado.mdb"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        // Page 20 holds DateTest's rows.
        file.write(WithBrokenDataPage(ReadWholeFile(AccessTestFilePath()), 20));
    }
    const auto snapshot = LoadStoreSnapshot(path);
    ASSERT_EQ(snapshot->importNotes().size(), 1);
    EXPECT_TRUE(snapshot->importNotes()[0].contains(QLatin1String("DateTest")))
        << snapshot->importNotes()[0].toStdString();
    try {
        Rows(path, QStringLiteral("SELECT * FROM DateTest"));
        ADD_FAILURE() << "a table read in part";
    } catch (const StoreError& error) {
        EXPECT_EQ(error.number(), StoreError::TableNotFound);
        ReleaseProposalStore();
        SetProposalDataFile(QString());
    }
}

TEST(AccessDamage, TheTableTheStoreNeedsMustBeReadWhole) {
    const QByteArray damaged = WithBrokenDataPage(ReadWholeFile(AccessTestFilePath()), 20);
    try {
        ImportAccessDatabase(damaged, QStringLiteral("Dañado.mdb"), QStringLiteral("datetest"));
        ADD_FAILURE() << "a table read in part";
    } catch (const StoreError& error) {
        EXPECT_EQ(error.number(), StoreError::CorruptFile);
        EXPECT_TRUE(error.description().contains(QStringLiteral("Dañado.mdb")));
        EXPECT_TRUE(error.description().contains(QLatin1String("DateTest")))
            << error.description().toStdString();
    }
    // The same file when another table is the one needed.
    const AccessImport imported =
        ImportAccessDatabase(damaged, QStringLiteral("Dañado.mdb"), QStringLiteral("PONENCIAS"));
    EXPECT_EQ(imported.notes.size(), 1);
}

// calcFieldTestV2010.accdb with a Date/Time Extended column and one of a kind no Access has
// defined yet added to Table1 (tests/data/access/add_extended_columns.py).
const QString kExtendedFile = QStringLiteral("extendedDateTest.accdb");

TEST(AccessColumnKinds, ExtendedDatesReadAsIsoTextAndAnUnknownKindEmptyWithANote) {
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
}

TEST(AccessColumnKinds, TheTableTheStoreNeedsIsRefusedWithAColumnItCannotRead) {
    try {
        ImportAccessDatabase(ReadWholeFile(AccessTestFile(kExtendedFile)),
                             QStringLiteral("Extendido.accdb"), QStringLiteral("TABLE1"));
        ADD_FAILURE() << "a needed table read without one of its columns";
    } catch (const StoreError& error) {
        EXPECT_EQ(error.number(), StoreError::CorruptFile);
        EXPECT_TRUE(error.description().contains(QLatin1String("Table1")));
        EXPECT_TRUE(error.description().contains(QStringLiteral("«Futuro»")))
            << error.description().toStdString();
    }
}

TEST(AccessColumnKinds, ADamagedExtendedDateIsDamageNotAValue) {
    QByteArray bytes = ReadWholeFile(AccessTestFile(kExtendedFile));
    // The first row's time of day, 18:30:15.1234567, in its stored digits.
    const qsizetype at = bytes.indexOf(":0000000666151234567:7");
    ASSERT_GT(at, 0);
    bytes[at + 5] = 'x';
    const AccessImport imported =
        ImportAccessDatabase(bytes, QStringLiteral("Dañado.accdb"), QStringLiteral("PONENCIAS"));
    ASSERT_EQ(imported.notes.size(), 1);
    EXPECT_EQ(imported.notes[0], QStringLiteral("La tabla «Table1» no se pudo leer y se omite (un "
                                                "valor de fecha y hora extendida no es válido)."));
}

TEST(AccessDamage, AFileCutShortIsRefusedByItsPagesNotByRowCounts) {
    QTemporaryDir dir;
    // Each file cut at the page boundary just before the page holding its table's rows.
    for (const auto& [name, dataPage] :
         {std::pair{QStringLiteral("DateTestDatabase.mdb"), 20},
          std::pair{QStringLiteral("calcFieldTestV2010.accdb"), 90}}) {
        const QByteArray whole = ReadWholeFile(AccessTestFile(name));
        const QString path = dir.filePath(name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(whole.left(qsizetype(dataPage) * 4096));
        file.close();
        try {
            LoadStoreSnapshot(path);
            ADD_FAILURE() << name.toStdString() << ": a cut file read";
        } catch (const StoreError& error) {
            EXPECT_EQ(error.number(), StoreError::CorruptFile) << name.toStdString();
            EXPECT_TRUE(error.description().contains(path)) << error.description().toStdString();
        }
    }
}

}  // namespace
