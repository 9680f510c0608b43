#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ponencias {

// What the import of an Access file gives: a serialised SQLite database holding its tables, and
// the notes (in Spanish) on what it could not read: a table left out, or a column read empty,
// each named.
struct AccessImport {
    QByteArray image;
    QStringList notes;
};

// Reads every user table of an Access file (Jet 3, Jet 4 or ACE), whose bytes are `bytes`, into
// a new SQLite database. Text arrives as UTF-8 (Jet 3 text in the code page the file names), memo
// fields whole, numbers as numbers (decimals exactly, see BindDecimal), dates as ISO 8601 text
// ("2021-12-02 00:00:00"), calculated columns as the values Access stored for them. OLE objects,
// binary and attachment columns read empty, with a note.
//
// A table's recorded row count is only a hint: every row its data pages hold is read. A table
// other than `requiredTable` that cannot be read is left out with a note; a `requiredTable` that
// cannot be read whole, or a file cut short, is an error naming it.
//
// libmdb trusts the file's internal pointers; a damaged file can make it read out of bounds or
// follow a page chain for ever. So the reading runs in a child process with a time limit: a child
// that crashes, hangs or exceeds its limits costs an error, never the program. Throws StoreError
// (CorruptFile) naming `path` when the file cannot be read whole.
AccessImport ImportAccessDatabase(const QByteArray& bytes, const QString& path,
                                  const QString& requiredTable);

// Time the reading may take before it is abandoned; 0 restores the default, which grows with the
// file's size. For tests.
void SetAccessImportTimeLimit(int milliseconds);

// The ISO 8601 text of an Access date/time value (days since 1899-12-30, the fraction the time
// of day; before that date the fraction still counts forwards from midnight).
QString AccessDateText(double value);

}  // namespace ponencias
