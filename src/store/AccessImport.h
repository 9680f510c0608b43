#pragma once

#include <QByteArray>
#include <QString>

namespace ponencias {

// Reads every user table of an Access file (Jet 3, Jet 4 or ACE), whose bytes are `bytes`, into
// a new SQLite database and returns that database serialised. Text arrives as UTF-8 (Jet 3 text
// in the code page the file names), memo fields whole, numbers as numbers, dates as ISO 8601 text
// ("2021-12-02 00:00:00").
//
// libmdb trusts the file's internal pointers; a damaged file can make it read out of bounds or
// follow a page chain for ever. So the reading runs in a child process with a time limit: a child
// that crashes, hangs or exceeds its limits costs an error, never the program. Throws StoreError
// (CorruptFile) naming `path` when the file cannot be read whole.
QByteArray ImportAccessDatabase(const QByteArray& bytes, const QString& path);

// Time the reading may take before it is abandoned; 0 restores the default, which grows with the
// file's size. For tests.
void SetAccessImportTimeLimit(int milliseconds);

// The ISO 8601 text of an Access date/time value (days since 1899-12-30, the fraction the time
// of day; before that date the fraction still counts forwards from midnight).
QString AccessDateText(double value);

}  // namespace ponencias
