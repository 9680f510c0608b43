#pragma once

class QWidget;

namespace ponencias {

// The windows are designed in twips; at 96 dpi fifteen of them make a logical pixel. The forms
// hold the pixels; the twips remain for the placements worked out while the program runs.
inline constexpr int kTwipsPerPixel = 15;
int TwipsToPixels(double twips);

// The last step of a window's form: every font the form gives (the window's and its controls')
// takes the size the designed point size has on a 96 dpi screen, a whole number of pixels, as
// the forms runtime rendered them: 8 points become 8.25, 10 become 9.75, 14 become 14.25.
void SnapDesignedFontsToPixels(QWidget* window);

}  // namespace ponencias
