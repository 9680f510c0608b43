#pragma once

#include <QByteArray>
#include <QString>

namespace ponencias {

// The importer's whole reading of one Access file, as ponencias-importar answers the store:
// when `read`, the import as EncodeAccessImport writes it (the SQLite image and the notes);
// otherwise why the file cannot be read, in Spanish. Never throws; the importer's limits on time
// and memory are its caller's business.
struct ImportReplyText {
    bool read = false;
    QByteArray output;
};
ImportReplyText ImportReply(const QByteArray& bytes, const QString& requiredTable);

}  // namespace ponencias
