#include "DataFileErrors.h"

#include "SystemErrorText.h"

namespace ponencias {

StoreError CorruptFileError(const QString& path, const QString& why) {
    return StoreError(
        StoreError::CorruptFile,
        QStringLiteral("El archivo de datos «%1» está dañado o incompleto: %2.").arg(path, why));
}

StoreError ChangedWhileReadError(const QString& path) {
    return StoreError(StoreError::FileUnreadable,
                      QStringLiteral("El archivo de datos «%1» cambió mientras se leía; vuelva a "
                                     "intentarlo.")
                          .arg(path));
}

StoreError ReadError(const QString& path, int error) {
    return StoreError(StoreError::FileUnreadable,
                      QStringLiteral("No se puede leer el archivo de datos «%1»: %2.")
                          .arg(path, SystemErrorText(error)));
}

}  // namespace ponencias
