// The in-process spreadsheet: references, entries, and formats resolved as "last operation
// covering the cell wins", also through the band grid the writer uses.
#include <gtest/gtest.h>

#include <random>

#include "export/SheetFormat.h"
#include "export/Spreadsheet.h"
#include "export/SpreadsheetApplication.h"

namespace ponencias {
namespace {

TEST(CellReference, ParsesCellsRowsAndColumns) {
    EXPECT_EQ(ParseCellReference("A2"), (CellRect{2, 1, 2, 1}));
    EXPECT_EQ(ParseCellReference("$K$12"), (CellRect{12, 11, 12, 11}));
    EXPECT_EQ(ParseCellReference("B3:A1"), (CellRect{1, 1, 3, 2}));
    EXPECT_EQ(ParseCellReference("2:11"), (CellRect{2, 1, 11, kSheetColumns}));
    EXPECT_EQ(ParseCellReference("K:K"), (CellRect{1, 11, kSheetRows, 11}));
    EXPECT_EQ(ParseCellReference("XFD1048576"),
              (CellRect{kSheetRows, kSheetColumns, kSheetRows, kSheetColumns}));
    for (const char* bad :
         {"", "A0", "2", "K", "XFE1", "A1048577", "A1:B", "1:K", "A1:B2:C3", "Ñ1"}) {
        EXPECT_THROW(ParseCellReference(QString::fromUtf8(bad)), SpreadsheetError) << bad;
    }
    EXPECT_EQ(ColumnLetters(1), "A");
    EXPECT_EQ(ColumnLetters(27), "AA");
    EXPECT_EQ(ColumnLetters(kSheetColumns), "XFD");
}

TEST(Worksheet, TypedEntriesNeverBecomeFormulas) {
    Worksheet sheet(QStringLiteral("Hoja1"));
    const auto kindOf = [&](const QString& text) {
        sheet.setEntry(1, 1, text);
        return sheet.cell(1, 1)->kind;
    };
    using K = Worksheet::CellKind;
    EXPECT_EQ(kindOf("302"), K::Number);
    EXPECT_EQ(kindOf("123456789012345"), K::Number);
    EXPECT_EQ(kindOf("1234567890123456"), K::Text);  // beyond a double's exact digits
    EXPECT_EQ(kindOf("0302"), K::Text);              // the leading zero is part of the text
    EXPECT_EQ(kindOf(" 302"), K::Text);
    EXPECT_EQ(kindOf("3.5"), K::Text);
    for (const char* text : {"=1+1", "+52 55", "-3", "@SUMA(A1)", "=HYPERLINK(\"x\")"}) {
        EXPECT_EQ(kindOf(QString::fromUtf8(text)), K::Text) << text;
        EXPECT_EQ(sheet.cell(1, 1)->text, QString::fromUtf8(text));
    }
    EXPECT_EQ(kindOf(""), K::Empty);
}

TEST(FormatLog, LastOperationCoveringACellWins) {
    Worksheet sheet(QStringLiteral("Hoja1"));
    using P = CellProperty;
    sheet.format(CellRect::WholeSheet(), P::HorizontalAlignment, xlLeft);
    sheet.format(CellRect::Cell(1, 12), P::HorizontalAlignment, xlCenter);  // before the column
    sheet.format(ParseCellReference("L:L"), P::HorizontalAlignment, xlJustify);
    sheet.format(CellRect::Cell(2, 12), P::HorizontalAlignment, xlCenter);  // after the column
    sheet.format(CellRect::Cell(2, 12), P::FontBold, 1);
    EXPECT_EQ(sheet.resolvedFormat(1, 12).get(P::HorizontalAlignment), xlJustify);
    EXPECT_EQ(sheet.resolvedFormat(2, 12).get(P::HorizontalAlignment), xlCenter);
    EXPECT_EQ(sheet.resolvedFormat(3, 12).get(P::HorizontalAlignment), xlJustify);
    EXPECT_EQ(sheet.resolvedFormat(3, 11).get(P::HorizontalAlignment), xlLeft);
    EXPECT_TRUE(sheet.resolvedFormat(2, 12).has(P::FontBold));
    EXPECT_FALSE(sheet.resolvedFormat(1, 12).has(P::FontBold));
}

// The band grid plus cell patches must give exactly what scanning every operation gives.
TEST(FormatLog, GridResolutionMatchesTheOperationOrder) {
    std::mt19937 random(7);
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int round = 0; round < 20; ++round) {
        Worksheet sheet(QStringLiteral("Hoja1"));
        std::vector<std::tuple<CellRect, CellProperty, int32_t>> ops;
        for (int i = 0; i < 200; ++i) {
            CellRect range;
            switch (pick(0, 4)) {
                case 0:
                    range = CellRect::WholeSheet();
                    break;
                case 1: {
                    const int top = pick(1, 12);
                    range = {top, 1, pick(top, 14), kSheetColumns};
                    break;
                }
                case 2: {
                    const int left = pick(1, 8);
                    range = {1, left, kSheetRows, pick(left, 9)};
                    break;
                }
                default:
                    range = CellRect::Cell(pick(1, 15), pick(1, 10));
            }
            const auto property = CellProperty(pick(0, 3));
            const int32_t value = pick(0, 3);
            sheet.format(range, property, value);
            ops.emplace_back(range, property, value);
        }
        const FormatGrid grid(sheet.formats());
        for (int row = 1; row <= 16; ++row) {
            for (int column = 1; column <= 11; ++column) {
                ResolvedFormat expected;
                for (const auto& [range, property, value] : ops) {
                    if (range.contains(row, column)) {
                        expected.set(property, value);
                    }
                }
                const auto& region = grid.region(grid.rowBand(row), grid.columnBand(column));
                ResolvedFormat viaGrid = region.format;
                const Worksheet::Cell* cell = sheet.cell(row, column);
                FormatLog::MergePatch(viaGrid, region.opIndex,
                                      sheet.formats().patch(cell ? cell->patch : 0));
                ASSERT_EQ(viaGrid, expected)
                    << "round " << round << " cell " << row << "," << column;
                ASSERT_EQ(sheet.resolvedFormat(row, column), expected);
            }
        }
    }
}

TEST(IntervalValues, LaterAssignmentsCutEarlierOnes) {
    IntervalValues values;
    values.assign(1, 100, 8);
    values.assign(11, 11, 70);
    values.assign(5, 20, 30);
    values.assign(12, 12, 80);
    EXPECT_EQ(values.at(4, 0), 8);
    EXPECT_EQ(values.at(5, 0), 30);
    EXPECT_EQ(values.at(11, 0), 30);
    EXPECT_EQ(values.at(12, 0), 80);
    EXPECT_EQ(values.at(21, 0), 8);
    EXPECT_EQ(values.at(101, -1), -1);
}

TEST(SpreadsheetObjects, RefusedValuesLeaveTheCellAsItWas) {
    SpreadsheetApplication app(false);
    EXPECT_THROW(app.Cells(1, 1), SpreadsheetError);  // no workbook yet
    app.Workbooks().Add();
    SheetRange cell = app.Cells(1, 1);
    EXPECT_THROW(cell.VerticalAlignment(-4121), SpreadsheetError);
    EXPECT_THROW(cell.Interior().ColorIndex(57), SpreadsheetError);
    EXPECT_THROW(cell.Borders().LineStyle(99), SpreadsheetError);
    EXPECT_EQ(app.activeSheet().resolvedFormat(1, 1).setMask, 0u);
    cell.Interior().ColorIndex(53);
    cell.Font().ColorIndex(2);
    EXPECT_EQ(app.activeSheet().resolvedFormat(1, 1).get(CellProperty::FillColor), 0x993300);
    EXPECT_EQ(app.activeSheet().resolvedFormat(1, 1).get(CellProperty::FontColor), 0xFFFFFF);
}

TEST(SpreadsheetObjects, GlobalObjectActsOnTheRunningApplication) {
    ResetSpreadsheetApplicationsForTesting();
    SpreadsheetGlobal.reset();
    EXPECT_THROW(GlobalObject(), SpreadsheetError);
    EXPECT_THROW(RunningSpreadsheetApplication(), SpreadsheetError);
    auto app = CreateSpreadsheetApplication();
    app->Visible(true);
    EXPECT_EQ(RunningSpreadsheetApplication(), app);
    app->Workbooks().Add();
    GlobalObject().Columns(QStringLiteral("K:K")).Select();
    GlobalObject().Selection().ColumnWidth(70);
    GlobalObject().Range(QStringLiteral("A2")).Select();
    GlobalObject().ActiveWindow().FreezePanes(true);
    EXPECT_EQ(app->activeSheet().columnWidths().at(11, 0), 70);
    EXPECT_EQ(app->activeSheet().frozenRow(), 2);
    EXPECT_EQ(app->activeSheet().frozenColumn(), 1);
    // A private application never becomes the running one.
    auto companion = std::make_shared<SpreadsheetApplication>(false);
    companion->Visible(true);
    EXPECT_EQ(RunningSpreadsheetApplication(), app);
    ResetSpreadsheetApplicationsForTesting();
}

}  // namespace
}  // namespace ponencias
