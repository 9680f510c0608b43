#include "SnapshotLoader.h"

#include "AccessFileCopy.h"
#include "StoreError.h"
#include "OpenDataFile.h"
#include "SnapshotCache.h"
#include "SqliteFileCopy.h"

namespace ponencias {

namespace {

// The copy of the open file, which must read as one version from start to end.
std::shared_ptr<StoreSnapshot> CopyOf(const OpenDataFile& file) {
    const QString& path = file.path();
    const QByteArray head = file.readStart(100);
    switch (DataFileKindOf(head)) {
        case DataFileKind::Sqlite: {
            std::shared_ptr<StoreSnapshot> snapshot;
            try {
                snapshot = SqliteFileCopy::Make(path, file.readPath(), head, file.size());
            } catch (const StoreError&) {
                if (!file.unchanged()) {
                    throw ChangedWhileReadError(path);
                }
                throw;
            }
            if (!file.unchanged()) {
                throw ChangedWhileReadError(path);
            }
            return snapshot;
        }
        case DataFileKind::Access: {
            QByteArray bytes = file.readStart(file.size());
            if (bytes.size() != qsizetype(file.size()) || !file.unchanged()) {
                throw ChangedWhileReadError(path);
            }
            return CopyAccessFile(path, std::move(bytes));
        }
        case DataFileKind::Unknown:
            break;
    }
    throw StoreError(StoreError::UnrecognizedFormat,
                     QStringLiteral("El archivo «%1» no es una base de datos reconocible: no es "
                                    "un archivo de Access ni de SQLite.")
                         .arg(path));
}

}  // namespace

DataFileKind DataFileKindOf(const QByteArray& head) {
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0"))) {
        return DataFileKind::Sqlite;
    }
    if (head.size() > 0x14 && head.at(0) == 0 &&
        (head.mid(4, 16) == QByteArrayLiteral("Standard Jet DB\0") ||
         head.mid(4, 16) == QByteArrayLiteral("Standard ACE DB\0"))) {
        return DataFileKind::Access;
    }
    return DataFileKind::Unknown;
}

std::shared_ptr<StoreSnapshot> LoadStoreSnapshot(const QString& path) {
    const OpenDataFile file(path);
    SnapshotCache& cache = SnapshotCache::Shared();
    if (std::shared_ptr<StoreSnapshot> kept = cache.find(file.version())) {
        return kept;
    }
    if (file.size() == 0) {
        throw StoreError(StoreError::UnrecognizedFormat,
                         QStringLiteral("El archivo de datos «%1» está vacío.").arg(path));
    }
    if (file.size() > (qint64(1) << 31)) {
        throw StoreError(StoreError::UnrecognizedFormat,
                         QStringLiteral("El archivo «%1» es demasiado grande (%2 bytes) para ser "
                                        "un archivo de datos.")
                             .arg(path)
                             .arg(file.size()));
    }
    // The copies of this file's earlier versions can never be reused: a file's change time only
    // moves on. Letting them go first means the new copy is not built beside them.
    cache.forgetFile(file.version().path);
    std::shared_ptr<StoreSnapshot> snapshot = CopyOf(file);
    cache.add(file.version(), snapshot);
    return snapshot;
}

}  // namespace ponencias
