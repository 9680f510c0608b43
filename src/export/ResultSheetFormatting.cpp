#include "ResultSheetFormatting.h"

namespace ponencias {

namespace {
const QString& SheetFont() {
    static const QString name = QString::fromLatin1(kSheetFontName);
    return name;
}
}  // namespace

void ApplySheetFont(SheetSteps& steps) {
    steps.Try([&] { steps.Global().Cells().Select(); });
    steps.Try([&] { steps.Global().Selection().Font().Name(SheetFont()); });
    steps.Try([&] { steps.Global().Selection().Font().Size(kSheetFontSize); });
}

void ApplyHeaderCellStyle(SheetSteps& steps, int column) {
    steps.Try([&] { steps.App().Cells(1, column).Borders().LineStyle(xlContinuous); });
    steps.Try([&] { steps.App().Cells(1, column).Interior().ColorIndex(kHeaderFillColorIndex); });
    steps.Try([&] { steps.App().Cells(1, column).Font().ColorIndex(kHeaderFontColorIndex); });
    steps.Try([&] { steps.App().Cells(1, column).Font().Bold(true); });
    steps.Try([&] { steps.App().Cells(1, column).HorizontalAlignment(xlCenter); });
    steps.Try([&] { steps.App().Cells(1, column).VerticalAlignment(xlCenter); });
}

void ApplyRowHeights(SheetSteps& steps, long rowCount) {
    steps.Try([&] { steps.Global().Rows(QStringLiteral("1:1")).Select(); });
    steps.Try([&] { steps.Global().Selection().RowHeight(kHeaderRowHeight); });
    steps.Try([&] {
        steps.Global().Rows(QStringLiteral("2:") + QString::number(rowCount + 1)).Select();
    });
    steps.Try([&] { steps.Global().Selection().RowHeight(kDataRowHeight); });
}

void ApplyDataBlockLayout(SheetSteps& steps) {
    steps.Try([&] { steps.Global().Selection().HorizontalAlignment(xlLeft); });
    // Data rows read from the top: a tall row with short text would otherwise leave it at the
    // bottom, far from its neighbours' first lines.
    steps.Try([&] { steps.Global().Selection().VerticalAlignment(xlTop); });
    steps.Try([&] { steps.Global().Selection().WrapText(true); });
    steps.Try([&] { steps.Global().Selection().Orientation(0); });
    steps.Try([&] { steps.Global().Selection().AddIndent(false); });
    steps.Try([&] { steps.Global().Selection().IndentLevel(0); });
    steps.Try([&] { steps.Global().Selection().ShrinkToFit(false); });
    steps.Try([&] { steps.Global().Selection().ReadingOrder(xlContext); });
    steps.Try([&] { steps.Global().Selection().MergeCells(false); });
}

void ApplyColumnWidths(SheetSteps& steps) {
    // Fitted while only the header row holds text, so every column fits its caption.
    steps.Try([&] { steps.Global().Cells().Select(); });
    steps.Try([&] { steps.Global().Selection().Columns().AutoFit(); });
    steps.Try([&] { steps.Global().Columns(QStringLiteral("K:K")).Select(); });
    steps.Try([&] { steps.Global().Selection().ColumnWidth(70); });
    steps.Try([&] { steps.Global().Columns(QStringLiteral("L:L")).Select(); });
    steps.Try([&] { steps.Global().Selection().ColumnWidth(80); });
    steps.Try([&] { steps.Global().Selection().HorizontalAlignment(xlJustify); });
    // The justification above reached the header cell too; it is centred again.
    steps.Try([&] { steps.Global().Range(QStringLiteral("L1")).Select(); });
    steps.Try([&] { steps.Global().Selection().HorizontalAlignment(xlCenter); });
    static const std::pair<const char*, double> kFixedWidths[] = {
        {"B:B", 16}, {"C:C", 25}, {"E:E", 12}, {"F:F", 20}, {"G:G", 30}, {"H:H", 50}, {"I:I", 35},
    };
    for (const auto& fixed : kFixedWidths) {
        steps.Try([&] { steps.Global().Columns(QString::fromLatin1(fixed.first)).Select(); });
        steps.Try([&] { steps.Global().Selection().ColumnWidth(fixed.second); });
    }
}

void ApplyRowBorders(SheetSteps& steps, int sheetRow) {
    for (int column = 1; column <= 16; ++column) {
        steps.Try([&] { steps.App().Cells(sheetRow, column).Borders().LineStyle(xlContinuous); });
    }
}

void ApplyLinkCellFont(SheetSteps& steps) {
    steps.Try([&] { steps.Global().Selection().Font().Name(SheetFont()); });
    steps.Try([&] { steps.Global().Selection().Font().Size(kSheetFontSize); });
}

void ApplyFinalView(SheetSteps& steps) {
    steps.Try([&] { steps.Global().Rows(QStringLiteral("2:2")).Select(); });
    steps.Try([&] { steps.Global().ActiveWindow().FreezePanes(true); });
    steps.Try([&] { steps.Global().Range(QStringLiteral("A2")).Select(); });
}

}  // namespace ponencias
