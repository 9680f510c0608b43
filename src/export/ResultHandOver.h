#pragma once

#include <QString>
#include <exception>

#include "ResultSheetExport.h"

// How a search's workbook reaches the user in the program: handed to the desktop's spreadsheet
// application, or the user told where it is saved or why there is none. The companion writes
// its file itself and needs none of this, nor the display libraries the hand-over brings.
namespace ponencias {

// What the desktop's applications take of the result: templates, which a spreadsheet
// application opens as a new, untitled workbook; workbooks only; or nothing at all.
enum class DesktopSpreadsheets { None, WorkbooksOnly, Templates };

// Asks the desktop's associations (its desktop entries) for an application for templates, then
// for workbooks, at each export: the answer is never kept, so an application installed or
// removed while the program runs counts at the next search. Reads only the desktop entry folders.
DesktopSpreadsheets DetectExcel();

// The end of every search: runs the query text on the proposal store and writes the matching
// proposals into a new workbook (ResultSheetLayout) that the desktop's spreadsheet application
// shows, or tells the user that nothing matched (or that the store could not be read).
void ExportResultSheet(const QString& queryText);

// ExportResultSheet with other limits, so that their handling can be checked on small results.
void ExportResultSheetWithLimits(const QString& queryText, const ExportLimits& limits);

// What the export shows the user. The program installs a message-box implementation at start
// (InstallWidgetExportFeedback, ponencias_export_ui); without one, texts go to standard error
// and no workbook is opened, so the export runs without a display.
class ExportFeedback {
public:
    virtual ~ExportFeedback() = default;
    // "No se encontrarón registros con los criterios seleccionados": information icon, one OK
    // button, the program's title.
    virtual void showNoRecords() = 0;
    // A failure the user must know about (the store could not be read, the workbook could not
    // be saved or shown).
    virtual void showError(const QString& text) = 0;
    // Something the workbook does not hold as asked (rows beyond the sheet's limit, …).
    virtual void showNotice(const QString& text) = 0;
    // Something the user may want to keep that is no failure (where a saved workbook that
    // nothing could show is): information icon, the text selectable and copyable.
    virtual void showInformation(const QString& text) = 0;
    // The saved result at `path` that nothing could show: `text` says where it is. The widget
    // implementation also offers to save a copy where the user chooses; by default the text is
    // shown as information.
    virtual void showSavedWorkbook(const QString& text, const QString& path);
    // Hands the workbook file to the desktop's spreadsheet application. False when nothing
    // took it. A hand-over that fails later, when the export has ended, is told by the feedback
    // installed then, as showSavedWorkbook with SavedResultText.
    virtual bool showWorkbook(const QString& path) = 0;
};

// The text for a saved result at `path` that nothing could show; it names the file.
QString SavedResultText(const QString& path);
// "«file»: reason" for a failure to write `file`: an OutputError names its own file and the
// system's reason; another failure (the spreadsheet library's) gives its own text.
QString WriteFailureText(const std::exception& error, const QString& file);

inline constexpr const char* kProgramTitle = "Ponencias";
// Deliberate: "encontrarón" with its accent, as users always read it.
inline constexpr const char* kNoRecordsMessage =
    "No se encontrarón registros con los criterios seleccionados";

ExportFeedback& CurrentExportFeedback();
// Installs `feedback` (not owned; it must outlive its use); null restores the standard-error one.
void SetExportFeedback(ExportFeedback* feedback);

// Writes every text to standard error and opens nothing.
class StandardErrorFeedback : public ExportFeedback {
public:
    void showNoRecords() override;
    void showError(const QString& text) override;
    void showNotice(const QString& text) override;
    void showInformation(const QString& text) override;
    bool showWorkbook(const QString& path) override;
};

}  // namespace ponencias
