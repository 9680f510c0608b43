#pragma once

#include "export/ResultHandOver.h"

namespace ponencias {

// Message boxes over the active window, and the desktop's associated application for the
// workbook file.
class WidgetExportFeedback : public ExportFeedback {
public:
    void showNoRecords() override;
    void showError(const QString& text) override;
    void showNotice(const QString& text) override;
    void showInformation(const QString& text) override;
    // The information message with a button that saves a copy of the result as a workbook
    // where the user chooses (a save dialog in the user's documents folder, proposing the
    // result's dated name). Cancelling either leaves nothing behind; a copy that cannot be
    // written is an error message naming it and the reason.
    void showSavedWorkbook(const QString& text, const QString& path) override;
    bool showWorkbook(const QString& path) override;
};

inline constexpr const char* kSaveCopyButton = "Guardar una copia…";
inline constexpr const char* kSaveCopyTitle = "Guardar una copia del libro de resultados";

// Where the save dialog opens with the proposed name of a copy of `savedPath`: the user's
// documents folder (the home folder where there is none), the saved file's dated name, ".xlsx".
QString ProposedCopyPath(const QString& savedPath);

// Called by the program at start: from then on the export talks to the user through message
// boxes and opens each workbook with the desktop's spreadsheet application.
void InstallWidgetExportFeedback();

}  // namespace ponencias
