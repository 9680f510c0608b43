#pragma once

#include "export/ExportFeedback.h"

namespace ponencias {

// Message boxes over the active window, and the desktop's associated application for the
// workbook file.
class WidgetExportFeedback : public ExportFeedback {
public:
    void showNoRecords() override;
    void showError(const QString& text) override;
    void showNotice(const QString& text) override;
    void showInformation(const QString& text) override;
    bool showWorkbook(const QString& path) override;
};

// Called by the program at start: from then on the export talks to the user through message
// boxes and opens each workbook with the desktop's spreadsheet application.
void InstallWidgetExportFeedback();

}  // namespace ponencias
