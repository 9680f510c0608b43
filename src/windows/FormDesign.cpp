#include "FormDesign.h"

#include <QWidget>
#include <QtMath>

namespace ponencias {

namespace {
constexpr double kDesignDotsPerInch = 96.0;
constexpr double kPointsPerInch = 72.0;

void snapFont(QWidget* widget) {
    QFont font = widget->font();
    const double pixels = qRound(font.pointSizeF() * kDesignDotsPerInch / kPointsPerInch);
    font.setPointSizeF(pixels * kPointsPerInch / kDesignDotsPerInch);
    widget->setFont(font);
}
}  // namespace

int TwipsToPixels(double twips) {
    return qRound(twips / kTwipsPerPixel);
}

void SnapDesignedFontsToPixels(QWidget* window) {
    // The window first: its controls without a font of their own take the snapped one from it.
    if (window->testAttribute(Qt::WA_SetFont)) {
        snapFont(window);
    }
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->testAttribute(Qt::WA_SetFont)) {
            snapFont(control);
        }
    }
}

}  // namespace ponencias
