#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

namespace ponencias {

class StoreSnapshot;

// The copy of an Access data file named `path`, read whole into `bytes` (let go of as soon as
// the import no longer needs them): every table the import can read, with its notes on what it
// could not. Throws StoreError (CorruptFile, naming `path`) when the file is cut short or its
// proposals cannot be read whole.
std::shared_ptr<StoreSnapshot> CopyAccessFile(const QString& path, QByteArray bytes);

}  // namespace ponencias
