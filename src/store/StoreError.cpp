#include "StoreError.h"

namespace ponencias {

StoreError::StoreError(int number, const QString& description)
    : std::runtime_error(QStringLiteral("Error %1: %2").arg(number).arg(description).toStdString()),
      number_(number),
      description_(description) {}

}  // namespace ponencias
