// A worksheet written to its file while it is filled: the file must be the one the whole sheet
// would give, rows must be let go once written, and a step that would change a written row must
// be refused rather than lost.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <random>

#include "XlsxReader.h"
#include "export/Spreadsheet.h"
#include "export/XlsxOutput.h"

namespace ponencias::test {
namespace {

using P = CellProperty;
using Step = std::function<void(Worksheet&)>;

// The parts that hold the sheet's content and look (the document properties carry a date).
void ExpectSameWorkbook(const QString& streamed, const QString& whole, int round) {
    for (const char* part :
         {"xl/worksheets/sheet1.xml", "xl/styles.xml", "xl/worksheets/_rels/sheet1.xml.rels"}) {
        EXPECT_EQ(ReadZipPart(streamed, part), ReadZipPart(whole, part))
            << "round " << round << ", " << part;
    }
}

// A random filling that mostly moves down the sheet, as an export does, with range operations,
// heights, links and now and then a step back to an earlier row.
std::vector<Step> RandomSteps(std::mt19937& random) {
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    static const char* const kTexts[] = {"", "302", "0302", "texto", "=1+1", "a_x0041_b", "ñandú"};
    static const P kProperties[] = {P::FontBold,  P::FontUnderline,      P::FontColor,
                                    P::FillColor, P::LineStyle,          P::WrapText,
                                    P::FontSize,  P::HorizontalAlignment};
    std::vector<Step> steps;
    int row = 1;
    for (int i = 0; i < 250; ++i) {
        if (pick(0, 9) == 0) {
            row += pick(1, 3);
        }
        const int at = pick(0, 7) == 0 ? pick(1, row) : row;  // sometimes an earlier row
        const int column = pick(1, 9);
        switch (pick(0, 9)) {
            case 0: {
                const int top = pick(1, row + 5);
                const CellRect rows{top, 1, pick(0, 3) == 0 ? kSheetRows : top + pick(0, 4),
                                    kSheetColumns};
                const P property = kProperties[pick(0, 7)];
                const int value = pick(0, 2);
                steps.push_back([=](Worksheet& s) { s.format(rows, property, value); });
                break;
            }
            case 1: {
                const int left = pick(1, 8);
                const CellRect columns{1, left, kSheetRows, left + pick(0, 2)};
                const int value = pick(0, 2) ? xlLeft : xlJustify;
                steps.push_back(
                    [=](Worksheet& s) { s.format(columns, P::HorizontalAlignment, value); });
                break;
            }
            case 2: {
                const int first = pick(1, row + 3);
                const int last = first + pick(0, 2);
                const double points = pick(10, 150);
                steps.push_back([=](Worksheet& s) { s.setRowHeight(first, last, points); });
                break;
            }
            case 3: {
                const QString address = QStringLiteral("https://x.example/%1.doc").arg(i);
                steps.push_back([=](Worksheet& s) {
                    s.addLink(at, column, address, QStringLiteral("Título %1").arg(i));
                });
                break;
            }
            case 4: {
                const double width = pick(5, 60);
                steps.push_back([=](Worksheet& s) { s.setColumnWidth(column, column, width); });
                break;
            }
            case 5:
                steps.push_back([=](Worksheet& s) {
                    s.autoFitColumns({at, 1, kSheetRows, kSheetColumns});
                });
                break;
            default: {
                const QString text = QString::fromUtf8(kTexts[pick(0, 6)]);
                const P property = kProperties[pick(0, 7)];
                const int value = pick(0, 3);
                steps.push_back([=](Worksheet& s) {
                    s.setEntry(at, column, text);
                    s.format(CellRect::Cell(at, column), property, value);
                });
            }
        }
    }
    steps.push_back([](Worksheet& s) {
        s.select(CellRect::Cell(2, 1));
        s.freezePanes(2, 1);
    });
    return steps;
}

// The streamed file equals the file of the same accepted steps written at the end.
TEST(XlsxStream, StreamedFileEqualsTheWholeSheetWrittenAtTheEnd) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    for (int round = 0; round < 12; ++round) {
        std::mt19937 random(round + 1);
        const std::vector<Step> steps = RandomSteps(random);
        const QString streamedPath = temp.filePath(QStringLiteral("streamed%1.xlsx").arg(round));
        const QString wholePath = temp.filePath(QStringLiteral("whole%1.xlsx").arg(round));

        Worksheet streamed(QStringLiteral("Hoja1"));
        std::vector<size_t> accepted;
        int refused = 0;
        {
            XlsxSheetWriter writer(streamed, streamedPath, {4});  // few link records: formulas too
            for (size_t i = 0; i < steps.size(); ++i) {
                try {
                    steps[i](streamed);
                    accepted.push_back(i);
                } catch (const SpreadsheetError&) {
                    ++refused;  // only steps that reach written rows (checked below)
                }
            }
            EXPECT_GT(streamed.writtenRows(), 0) << round;
            writer.finish();
        }
        Worksheet whole(QStringLiteral("Hoja1"));
        for (size_t i : accepted) {
            ASSERT_NO_THROW(steps[i](whole)) << "round " << round << " step " << i;
        }
        WriteXlsx(whole, wholePath, {4});
        ExpectSameWorkbook(streamedPath, wholePath, round);
        EXPECT_GT(refused, 0) << round;  // the rounds do reach back
    }
}

TEST(XlsxStream, WrittenRowsAreLetGoAndCannotChange) {
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("libro.xlsx"));
    Worksheet sheet(QStringLiteral("Hoja1"));
    sheet.format(ParseCellReference(QStringLiteral("2:20")), P::WrapText, 1);
    XlsxSheetWriter writer(sheet, path);
    for (int row = 1; row <= 5; ++row) {
        sheet.setEntry(row, 1, QStringLiteral("fila %1").arg(row));
    }
    EXPECT_EQ(sheet.writtenRows(), 4);
    EXPECT_EQ(sheet.cell(4, 1), nullptr);  // gone from memory
    ASSERT_NE(sheet.cell(5, 1), nullptr);

    EXPECT_THROW(sheet.setEntry(3, 2, QStringLiteral("tarde")), SpreadsheetError);
    EXPECT_THROW(sheet.format(CellRect::Cell(4, 1), P::FontBold, 1), SpreadsheetError);
    EXPECT_THROW(sheet.format(ParseCellReference(QStringLiteral("A:A")), P::FontBold, 1),
                 SpreadsheetError);
    EXPECT_THROW(sheet.format(CellRect::WholeSheet(), P::FontBold, 1), SpreadsheetError);
    // Below the written rows, but reaching the sheet's end: it would change the columns' format
    // that written rows show.
    EXPECT_THROW(sheet.format(ParseCellReference(QStringLiteral("9:1048576")), P::FontBold, 1),
                 SpreadsheetError);
    EXPECT_THROW(sheet.setRowHeight(2, 6, 30), SpreadsheetError);
    EXPECT_THROW(sheet.autoFitColumns(CellRect::WholeSheet()), SpreadsheetError);
    EXPECT_THROW(sheet.addLink(1, 2, QStringLiteral("https://x/"), QStringLiteral("x")),
                 SpreadsheetError);
    // What touches only rows still to come, and the columns' widths, is taken.
    sheet.format(ParseCellReference(QStringLiteral("5:6")), P::FontBold, 1);
    sheet.setRowHeight(5, 8, 40);
    sheet.setColumnWidth(1, 1, 30);
    sheet.setEntry(5, 2, QStringLiteral("sigue"));
    sheet.select(CellRect::Cell(2, 1));
    writer.finish();

    const XlsxSheet read = ReadXlsx(path);
    EXPECT_EQ(read.maxRow(), 5);
    for (int row = 1; row <= 5; ++row) {
        EXPECT_EQ(read.text(row, 1), QStringLiteral("fila %1").arg(row));
    }
    EXPECT_EQ(read.text(3, 2), "");
    EXPECT_FALSE(read.styleAt(4, 1).bold);
    EXPECT_TRUE(read.styleAt(4, 1).wrap);
    EXPECT_TRUE(read.styleAt(5, 2).bold);
    EXPECT_EQ(read.text(5, 2), "sigue");
    EXPECT_EQ(read.rows.value(6).height, 40);
    EXPECT_EQ(read.activeCell, "A2");
}

TEST(XlsxStream, AnAbandonedFileLeavesNothingAndFreesTheSheet) {
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("sin terminar.xlsx"));
    Worksheet sheet(QStringLiteral("Hoja1"));
    {
        XlsxSheetWriter writer(sheet, path);
        for (int row = 1; row <= 300; ++row) {  // several batches handed to the writer
            sheet.setEntry(row, 1, QString::number(row));
        }
    }
    EXPECT_FALSE(QFile::exists(path));
    // No sink any more: later rows stay in the sheet.
    sheet.setEntry(301, 1, QStringLiteral("x"));
    sheet.setEntry(302, 1, QStringLiteral("y"));
    ASSERT_NE(sheet.cell(301, 1), nullptr);
    EXPECT_EQ(sheet.writtenRows(), 299);
}

}  // namespace
}  // namespace ponencias::test
