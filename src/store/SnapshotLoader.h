#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

namespace ponencias {

class StoreSnapshot;

// The copy of the data file at `path`, built on first use and reused for as long as the file's
// version (its identity, size and modification time) stays the same. The file is only read.
// Throws StoreError when the file is missing, unreadable, of another kind, truncated or corrupt.
std::shared_ptr<StoreSnapshot> LoadStoreSnapshot(const QString& path);

// Kind of data file, told by its first bytes.
enum class DataFileKind { Unknown, Sqlite, Access };
DataFileKind DataFileKindOf(const QByteArray& head);

}  // namespace ponencias
