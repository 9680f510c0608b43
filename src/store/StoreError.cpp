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

}  // namespace ponencias
