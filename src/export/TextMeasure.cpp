#include "TextMeasure.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QStringList>
#include <cmath>
#include <memory>

namespace ponencias {

namespace {

// Metric-compatible stand-ins, used where the office font itself is not installed.
QString Substitute(const QString& family) {
    static const QHash<QString, QString> substitutes = {
        {QStringLiteral("arial narrow"), QStringLiteral("Liberation Sans Narrow")},
        {QStringLiteral("arial"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("helvetica"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("calibri"), QStringLiteral("Carlito")},
        {QStringLiteral("times new roman"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("courier new"), QStringLiteral("Liberation Mono")},
    };
    return substitutes.value(family.toLower());
}

// Measured at a large pixel size without hinting, so the width scales linearly to any size.
constexpr int kMeasurePixels = 1000;
// The normal style (Calibri 11) has a maximum digit width of 7 pixels; a column of w characters
// is w * 7 pixels plus the cell margins.
constexpr double kDigitPixels = 7.0;
// A fitted column leaves this much room beyond the text, as the application's own fit does.
constexpr double kFitSlackPixels = 2.0;

const QFontMetricsF& Metrics(const QString& family, bool bold) {
    static QHash<QString, std::shared_ptr<QFontMetricsF>> cache;
    const QString key = family + (bold ? QStringLiteral("|b") : QStringLiteral("|r"));
    auto found = cache.find(key);
    if (found == cache.end()) {
        QFont font;
        QStringList families{family};
        if (const QString substitute = Substitute(family); !substitute.isEmpty()) {
            families << substitute;
        }
        font.setFamilies(families);
        font.setPixelSize(kMeasurePixels);
        font.setBold(bold);
        font.setHintingPreference(QFont::PreferNoHinting);
        font.setKerning(true);
        found = cache.insert(key, std::make_shared<QFontMetricsF>(font));
    }
    return **found;
}

}  // namespace

double TextPixelWidth(const QString& text, const QString& family, double points, bool bold) {
    const double pixelSize = points * 96.0 / 72.0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    double widest = 0;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        // No font system without a GUI application: an average narrow glyph is half an em.
        for (const QString& line : lines) {
            widest = std::max(widest, line.size() * pixelSize * 0.5);
        }
        return widest;
    }
    const QFontMetricsF& metrics = Metrics(family, bold);
    for (const QString& line : lines) {
        widest = std::max(widest, metrics.horizontalAdvance(line) * pixelSize / kMeasurePixels);
    }
    return widest;
}

double FittedColumnWidth(const QString& text, const QString& family, double points, bool bold) {
    const double pixels = std::ceil(TextPixelWidth(text, family, points, bold)) + kFitSlackPixels;
    return pixels / kDigitPixels;
}

}  // namespace ponencias
