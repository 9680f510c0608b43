#pragma once

#include <QByteArray>
#include <QString>

namespace ponencias {

// The importer's whole reading of one Access file, as ponencias-importar answers the store: the
// result message of ImportProtocol, the SQLite image and the notes, or why the file cannot be
// read. Never throws; the importer's limits on time and memory are its caller's business.
QByteArray ImportReply(const QByteArray& bytes, const QString& requiredTable);

}  // namespace ponencias
