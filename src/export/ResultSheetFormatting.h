#pragma once

#include <functional>

#include "Spreadsheet.h"

namespace ponencias {

// The spreadsheet steps of an export, run in ignore-and-continue mode: a step that fails is
// abandoned and the export goes on with the next one. Each step reaches the application afresh
// through `application` (cells by row and column) or `global` (selections), as the slots give
// them at that moment.
class SheetSteps {
public:
    SheetSteps(std::function<SpreadsheetApplication&()> application,
               std::function<SpreadsheetGlobalObject&()> global)
        : application_(std::move(application)), global_(std::move(global)) {}

    SpreadsheetApplication& App() { return application_(); }
    SpreadsheetGlobalObject& Global() { return global_(); }

    // Runs one step; returns false when it failed (and was skipped).
    template <class Step>
    bool Try(Step&& step) noexcept {
        try {
            step();
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }

private:
    std::function<SpreadsheetApplication&()> application_;
    std::function<SpreadsheetGlobalObject&()> global_;
};

inline constexpr const char* kSheetFontName = "Arial Narrow";
inline constexpr double kSheetFontSize = 11;
inline constexpr int kHeaderFillColorIndex = 53;
inline constexpr int kHeaderFontColorIndex = 2;
inline constexpr double kHeaderRowHeight = 55;
inline constexpr double kDataRowHeight = 150;

void ApplySheetFont(SheetSteps& steps);                    // F1
void ApplyHeaderCellStyle(SheetSteps& steps, int column);  // F2
void ApplyRowHeights(SheetSteps& steps, long rowCount);    // F3
void ApplyDataBlockLayout(SheetSteps& steps);              // F4
void ApplyColumnWidths(SheetSteps& steps);                 // F5
void ApplyRowBorders(SheetSteps& steps, int sheetRow);     // F6
void ApplyLinkCellFont(SheetSteps& steps);                 // F7
void ApplyFinalView(SheetSteps& steps);                    // F8

}  // namespace ponencias
