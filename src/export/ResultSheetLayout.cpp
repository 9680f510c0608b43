#include "ResultSheetLayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <memory>

namespace ponencias {

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
    bool isNumber = false;
    const double number = folio.trimmed().toDouble(&isNumber);
    return isNumber &&
           std::find(UnlinkedFolios.begin(), UnlinkedFolios.end(), number) != UnlinkedFolios.end();
}

namespace {

// Measured at a large pixel size without hinting, so the width scales linearly to any size.
constexpr int kMeasurePixels = 1000;
// The normal style (Calibri 11) has a maximum digit width of 7 pixels; a column of w characters
// is w * 7 pixels plus the cell margins.
constexpr double kDigitPixels = 7.0;
// A fitted column leaves this much room beyond the text, as the application's own fit does.
constexpr double kFitSlackPixels = 2.0;

// The sheet font, or its metric-compatible stand-in where the office font is not installed.
const QFontMetricsF& SheetFontMetrics(bool bold) {
    static std::unique_ptr<QFontMetricsF> metrics[2];
    std::unique_ptr<QFontMetricsF>& held = metrics[bold ? 1 : 0];
    if (!held) {
        QFont font;
        font.setFamilies(
            {QString::fromLatin1(kSheetFontName), QStringLiteral("Liberation Sans Narrow")});
        font.setPixelSize(kMeasurePixels);
        font.setBold(bold);
        font.setHintingPreference(QFont::PreferNoHinting);
        font.setKerning(true);
        held = std::make_unique<QFontMetricsF>(font);
    }
    return *held;
}

}  // namespace

double TextPixelWidth(const QString& text, bool bold) {
    const double pixelSize = kSheetFontSize * 96.0 / 72.0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    double widest = 0;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        // No font system without a GUI application: an average narrow glyph is half an em.
        for (const QString& line : lines) {
            widest = std::max(widest, line.size() * pixelSize * 0.5);
        }
        return widest;
    }
    const QFontMetricsF& metrics = SheetFontMetrics(bold);
    for (const QString& line : lines) {
        widest = std::max(widest, metrics.horizontalAdvance(line) * pixelSize / kMeasurePixels);
    }
    return widest;
}

double FittedWidth(const QString& caption) {
    const double pixels = std::ceil(TextPixelWidth(caption, kHeaderFormat.bold)) + kFitSlackPixels;
    return std::min(255.0, pixels / kDigitPixels);
}

}  // namespace ponencias
