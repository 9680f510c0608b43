#include "StoreError.h"

namespace ponencias {

StoreError::StoreError(int number, const QString& description)
    : std::runtime_error(QStringLiteral("Error %1: %2").arg(number).arg(description).toStdString()),
      number_(number),
      description_(description) {}

QString StatementForMessage(const QString& sql) {
    constexpr qsizetype kShown = 300;
    const QString trimmed = sql.trimmed();
    if (trimmed.size() <= kShown) {
        return trimmed;
    }
    return trimmed.left(kShown) + QStringLiteral("…");
}

StoreError CorruptFileError(const QString& path, const QString& why) {
    return StoreError(
        StoreError::CorruptFile,
        QStringLiteral("El archivo de datos «%1» está dañado o incompleto: %2.").arg(path, why));
}

}  // namespace ponencias
