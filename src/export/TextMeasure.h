#pragma once

#include <QString>

namespace ponencias {

// The font of a cell that no formatting touched (the workbook's normal style).
inline constexpr const char* kDefaultFontName = "Calibri";

// The width, in the sheet's character units, that a column needs to show `text` whole in the
// given font: the text is measured with the font's real metrics at 96 dpi (metric-compatible
// free fonts stand in for the common office fonts) and converted through the normal style's
// digit width, as the spreadsheet application does.
double FittedColumnWidth(const QString& text, const QString& family, double points, bool bold);

// The text's width in pixels at 96 dpi.
double TextPixelWidth(const QString& text, const QString& family, double points, bool bold);

}  // namespace ponencias
