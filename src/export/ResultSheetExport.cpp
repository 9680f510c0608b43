#include "ResultSheetExport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <cerrno>

#include "CheckedOutput.h"
#include "ExportFeedback.h"
#include "ResultExportFlow.h"
#include "ResultFile.h"
#include "ResultSheetExportSteps.h"
#include "ResultSheetFormatting.h"
#include "SpreadsheetApplication.h"
#include "XlsxOutput.h"
#include "store/ProposalTable.h"
#include "store/Recordset.h"
#include "store/StoreError.h"

namespace ponencias {

std::array<QString, 17> HeaderCaptions;

// The proposal table's columns that carry a sheet caption, in its order.
const std::array<ResultColumn, 16> kResultColumns = [] {
    static_assert(std::tuple_size_v<decltype(kResultColumns)> == kSheetColumnCount);
    std::array<ResultColumn, 16> columns{};
    std::size_t c = 0;
    for (const ProposalColumn& column : kProposalColumnTable) {
        if (column.sheetCaption != nullptr) {
            columns[c++] = {column.sheetCaption, column.name};
        }
    }
    return columns;
}();

void FillHeaderCaptions() {
    for (size_t c = 1; c <= kResultColumns.size(); ++c) {
        HeaderCaptions[c] = QString::fromUtf8(kResultColumns[c - 1].caption);
    }
}

QString DocumentBaseAddress() {
    return QStringLiteral(PONENCIAS_DOCUMENT_BASE_ADDRESS);
}

QString DocumentAddress(const QString& folio) {
    // Unreserved characters stay as they are; a blank, "#", "?", "/" or a letter outside ASCII
    // would otherwise change or break the address.
    return DocumentBaseAddress() + QString::fromLatin1(QUrl::toPercentEncoding(folio)) +
           QStringLiteral(".doc");
}

bool IsUnlinkedFolio(const QString& folio) {
    // Most folios are plain digits, read here without the general number parsing.
    if (!folio.isEmpty() && folio.size() <= 9 &&
        std::all_of(folio.begin(), folio.end(),
                    [](QChar ch) { return ch >= QLatin1Char('0') && ch <= QLatin1Char('9'); })) {
        int number = 0;
        for (QChar ch : folio) {
            number = number * 10 + (ch.unicode() - '0');
        }
        return std::find(UnlinkedFolios.begin(), UnlinkedFolios.end(), number) !=
               UnlinkedFolios.end();
    }
    bool isNumber = false;
    const double number = folio.trimmed().toDouble(&isNumber);
    return isNumber &&
           std::find(UnlinkedFolios.begin(), UnlinkedFolios.end(), number) != UnlinkedFolios.end();
}

void FillResultSheet(SheetSteps& steps, Recordset& result, const ExportLimits& limits,
                     FilledSheet& filled, const std::function<void(Worksheet&)>& workbookAdded) {
    result.MoveFirst();
    steps.Try([&] { steps.App().Visible(true); });
    steps.Try([&] { filled.workbook = &steps.App().Workbooks().Add(); });
    if (filled.workbook && workbookAdded) {
        workbookAdded(filled.workbook->activeSheet());
    }
    ApplySheetFont(steps);
    FillHeaderCaptions();
    for (int c = 1; c < int(HeaderCaptions.size()); ++c) {
        steps.Try([&] { steps.App().Cells(1, c).Value(HeaderCaptions[size_t(c)]); });
        ApplyHeaderCellStyle(steps, c);
    }
    filled.rowsInResult = result.RecordCount();
    const long rows = std::min(filled.rowsInResult, limits.maxDataRows);
    ApplyRowHeights(steps, rows);
    ApplyDataBlockLayout(steps);
    ApplyColumnWidths(steps);

    std::array<QString, 16> fields;
    std::array<QString, 16> names;
    for (size_t i = 0; i < names.size(); ++i) {
        names[i] = QString::fromLatin1(kResultColumns[i].field);
    }
    for (long r = 1; r <= rows; ++r) {
        const int sheetRow = int(r + 1);
        for (size_t i = 0; i < fields.size(); ++i) {
            fields[i] = result.Fields(names[i]).Text();
        }
        const QString& folio = fields[0];
        const QString& title = fields[kTitleColumn - 1];
        const QString link = DocumentAddress(folio);
        ApplyRowBorders(steps, sheetRow);
        if (IsUnlinkedFolio(folio)) {
            steps.Try([&] { steps.App().Cells(sheetRow, kTitleColumn).Formula(title); });
        } else {
            const QString cell = QStringLiteral("K") + QString::number(sheetRow);
            steps.Try([&] { steps.Global().ActiveSheet().Range(cell).Select(); });
            steps.Try([&] {
                SpreadsheetGlobalObject& global = steps.Global();
                global.ActiveSheet().Hyperlinks().Add(global.Selection(), link, title);
            });
            ApplyLinkCellFont(steps);
        }
        const QString first = QStringLiteral("A") + QString::number(sheetRow);
        steps.Try([&] { steps.Global().ActiveSheet().Range(first).Select(); });
        for (int c = 1; c <= int(fields.size()); ++c) {
            if (c != kTitleColumn) {
                steps.Try([&] { steps.App().Cells(sheetRow, c).Formula(fields[size_t(c - 1)]); });
            }
        }
        filled.rowsWritten = r;
        result.MoveNext();
    }
}

QString StoreFailureText(const StoreError& error) {
    return QStringLiteral(
               "No se pudieron leer las ponencias: el almacén de datos falló.\n\n"
               "Error %1: %2")
        .arg(error.number())
        .arg(error.description());
}

QString IncompleteWorkbookText(const FilledSheet& filled, const XlsxWriteReport& report) {
    QStringList parts;
    if (filled.rowsInResult > filled.rowsWritten) {
        parts << QStringLiteral(
                     "La consulta encontró %1 ponencias, pero una hoja de cálculo admite como "
                     "máximo %2 filas de datos. El libro contiene las primeras %2; las %3 "
                     "restantes no se escribieron.")
                     .arg(filled.rowsInResult)
                     .arg(filled.rowsWritten)
                     .arg(filled.rowsInResult - filled.rowsWritten);
    }
    const auto rowList = [](const std::vector<int>& rows) {
        QStringList numbers;
        for (size_t i = 0; i < rows.size() && i < 20; ++i) {
            numbers << QString::number(rows[i]);
        }
        if (rows.size() > 20) {
            numbers << QStringLiteral("… (%1 en total)").arg(rows.size());
        }
        return numbers.join(QStringLiteral(", "));
    };
    if (!report.rowsWithoutLink.empty()) {
        parts << QStringLiteral("El título de estas filas no lleva vínculo a su documento: %1.")
                     .arg(rowList(report.rowsWithoutLink));
    }
    if (!report.rowsWithCutText.empty()) {
        parts << QStringLiteral(
                     "Estas filas tienen textos de más de 32767 caracteres, lo más que cabe en "
                     "una celda; se escribieron sus primeros 32767: %1.")
                     .arg(rowList(report.rowsWithCutText));
    }
    return parts.join(QStringLiteral("\n\n"));
}

namespace {

SpreadsheetApplication& ProgramApplication() {
    if (!SpreadsheetApp) {
        throw SpreadsheetError("no hay una aplicación de hojas de cálculo");
    }
    return *SpreadsheetApp;
}

// Saves the finished workbook in the results folder, moves a workbook that the desktop opens by
// name to where the user keeps files, and hands it to the desktop.
void HandOver(const Worksheet& sheet, ResultFile& output, const FilledSheet& filled,
              DesktopSpreadsheets desktop, ExportFeedback& feedback) {
    XlsxWriteReport report;
    try {
        report = output.finish(sheet);
    } catch (const std::runtime_error& error) {
        const auto* outputError = dynamic_cast<const OutputError*>(&error);
        const QString file = outputError ? outputError->target() : output.path();
        feedback.showError(
            QStringLiteral("No se pudo guardar el libro de resultados%1: %2")
                .arg(file.isEmpty() ? QString() : QStringLiteral(" «%1»").arg(file),
                     outputError ? outputError->reason() : QString::fromUtf8(error.what())));
        return;
    }
    QString path = output.path();
    QString message;
    if (desktop == DesktopSpreadsheets::WorkbooksOnly) {
        // Opened by name, the workbook is what the user's save overwrites: it goes where a
        // save keeps it, or is not handed over.
        try {
            path = KeepResultFile(path);
        } catch (const std::runtime_error& error) {
            message = QStringLiteral("No se pudo guardar el libro de resultados %1. El libro está "
                                     "guardado en:\n%2")
                          .arg(WriteFailureText(error, KeptResultsFolder()),
                               QDir::toNativeSeparators(path));
        }
    }
    if (desktop == DesktopSpreadsheets::None || !message.isEmpty() ||
        !feedback.showWorkbook(path)) {
        // Not a failure: the workbook is saved, and the user is told where.
        feedback.showSavedWorkbook(message.isEmpty() ? SavedResultText(path) : message, path);
    }
    if (const QString text = IncompleteWorkbookText(filled, report); !text.isEmpty()) {
        feedback.showNotice(text);
    }
}

}  // namespace

void ExportResultSheet(const QString& queryText) {
    ExportResultSheetWithLimits(queryText, {});
}

ExportLimits LimitsForResult(const ExportLimits& limits, long rowsInResult) {
    ExportLimits result = limits;
    if (rowsInResult > limits.maxLinkRecords) {
        result.maxLinkRecords = 0;
    }
    return result;
}

void ExportResultSheetWithLimits(const QString& queryText, const ExportLimits& limits) {
    ExportFeedback& feedback = CurrentExportFeedback();
    SheetSteps steps(ProgramApplication, GlobalObject);

    const DesktopSpreadsheets desktop = DetectExcel();
    steps.Try([] { SpreadsheetApp = RunningSpreadsheetApplication(); });
    if (!SpreadsheetApp) {
        // Nothing running and nothing created by the query window: start one rather than read
        // every row into no workbook at all.
        SpreadsheetApp = CreateSpreadsheetApplication();
    }

    ResultFile output = ResultFile::InResultsFolder();
    const ResultExportRun run =
        RunResultExport(steps, queryText, limits, ResultFileKind(desktop), output);
    if (run.storeError) {
        // A workbook cut short by a failing store is not shown as if it were the result.
        feedback.showError(StoreFailureText(*run.storeError));
    } else if (run.empty) {
        feedback.showNoRecords();
    }
    if (run.filled.workbook) {
        if (!run.storeError) {
            HandOver(run.filled.workbook->activeSheet(), output, run.filled, desktop, feedback);
        }
        output.discard();  // a workbook cut short by the store leaves no file behind
        // The saved file is the user's now; the in-process copy is let go.
        steps.Try([&] { steps.App().Workbooks().Close(run.filled.workbook); });
    }
    SpreadsheetApp.reset();
}

}  // namespace ponencias
