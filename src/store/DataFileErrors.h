#pragma once

#include <QString>

#include "StoreError.h"

namespace ponencias {

// The store's errors about the data file itself, each naming it.

// The file claims a known format but cannot be read whole; `why` says what is wrong with it.
StoreError CorruptFileError(const QString& path, const QString& why);
// The file changed between the first and the last byte read of it.
StoreError ChangedWhileReadError(const QString& path);
// Reading the open file failed with the system's error `error`.
StoreError ReadError(const QString& path, int error);

}  // namespace ponencias
