#pragma once

#include <QByteArray>
#include <QString>

namespace ponencias {

// Every user table of an Access file (Jet 3, Jet 4 or ACE) is read into a new SQLite database. Text
// arrives as UTF-8 as Access wrote it (characters beyond the basic plane whole; Jet 3 text in the
// code page the file names, every byte of it), memo fields whole, numbers as numbers (decimals
// exactly), dates as ISO 8601 text ("2021-12-02 00:00:00", Date/Time Extended with its seven digits
// of fraction), replication IDs as {8E39276A-BCA8-4AC4-891E-49911D8438DD}, calculated columns as
// the values Access stored (NULL where it stored none). OLE objects, binary and attachment columns,
// and columns of a kind the import does not know, read empty, with a note; so does a single value
// that cannot be read, its note naming the table, the column and the row.
//
// A table's recorded row count is only a hint: every row its data pages hold is read. A table
// other than `requiredTable` that cannot be read is left out with a note; a `requiredTable` that
// cannot be read whole (a value of it included, or a column of a kind the import does not
// know), or a file cut short, is an error naming it.
//
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
