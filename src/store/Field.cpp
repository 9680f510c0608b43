#include "Field.h"

#include <QLocale>

namespace ponencias {

QString Field::Text() const {
    return ValueText(Value);
}

QString ValueText(const QVariant& value) {
    if (value.isNull()) {
        return QString();
    }
    switch (value.typeId()) {
        case QMetaType::QString:
            return value.toString();
        case QMetaType::LongLong:
        case QMetaType::Int:
            return QString::number(value.toLongLong());
        case QMetaType::Double:
            return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
        case QMetaType::QByteArray:
            // A binary value is read as the text its bytes spell, as a text field would be.
            return QString::fromUtf8(value.toByteArray());
        default:
            return value.toString();
    }
}

}  // namespace ponencias
