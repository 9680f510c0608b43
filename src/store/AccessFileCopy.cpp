#include "AccessFileCopy.h"

#include "AccessImport.h"
#include "StoreError.h"
#include "InMemoryCopy.h"
#include "ProposalTable.h"
#include "SqliteFailure.h"
#include "StoreSnapshot.h"

namespace ponencias {

std::shared_ptr<StoreSnapshot> CopyAccessFile(const QString& path, QByteArray bytes) {
    const bool jet3 = bytes.at(0x14) == 0;
    const qsizetype pageSize = jet3 ? 2048 : 4096;
    if (bytes.size() < 3 * pageSize) {
        throw CorruptFileError(path, QStringLiteral("con %1 bytes es demasiado corto para un "
                                                    "archivo de Access; el archivo está cortado")
                                         .arg(bytes.size()));
    }
    if (bytes.size() % pageSize != 0) {
        throw CorruptFileError(path, QStringLiteral("su tamaño (%1 bytes) no es un número entero "
                                                    "de páginas de %2 bytes; el archivo está "
                                                    "cortado")
                                         .arg(bytes.size())
                                         .arg(pageSize));
    }
    InMemoryCopy copy;
    // The proposals must be read whole; another table that cannot be read is left out.
    AccessImport imported = ImportAccessDatabase(bytes, path, QString::fromLatin1(kProposalTable));
    bytes = QByteArray();
    if (!imported.image.isEmpty()) {
        try {
            copy.load(imported.image);
        } catch (const SqliteFailure& failure) {
            throw CorruptFileError(path, failure.message());
        }
    }
    return std::make_shared<StoreSnapshot>(copy.lockDown(), path, std::move(imported.notes));
}

}  // namespace ponencias
