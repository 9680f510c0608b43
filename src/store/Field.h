#pragma once

#include <QString>
#include <QVariant>

namespace ponencias {

// One field of the current row. `Value` is a null QVariant for a null value, otherwise a
// qlonglong, a double, a QString or a QByteArray.
struct Field {
    QString Name;
    QVariant Value;

    // The value joined to the empty text, as every reader reads it: null becomes "".
    QString Text() const;
};

// Text form of a stored value: "" for null, integers in decimal, reals in their shortest exact
// form ("2.5", "1e+20"), text unchanged.
QString ValueText(const QVariant& value);

}  // namespace ponencias
