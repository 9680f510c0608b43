#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace ponencias {

// What the import of an Access file gives: a serialised SQLite database holding its tables, and
// the notes (in Spanish) on what it could not read: a table left out, or a column read empty,
// each named.
struct AccessImport {
    QByteArray image;
    QStringList notes;
};

// How the importer hands an import over on its standard output when it ends with status 0: the
// image's length (8 bytes, the machine's order), the image, then the notes, one a line. When the
// file cannot be read it ends with status 1, and its output says why. Decoding gives nothing for
// an output that is not a whole import.
QByteArray EncodeAccessImport(const AccessImport& import);
std::optional<AccessImport> DecodeAccessImport(const QByteArray& output);

// Reads every user table of an Access file (Jet 3, Jet 4 or ACE), whose bytes are `bytes`, into
// a new SQLite database. Text arrives as UTF-8 as Access wrote it (characters beyond the basic
// plane whole; Jet 3 text in the code page the file names, every byte of it), memo fields whole,
// numbers as numbers (decimals exactly), dates as ISO 8601 text ("2021-12-02 00:00:00",
// Date/Time Extended with its seven digits of fraction), replication IDs as
// {8E39276A-BCA8-4AC4-891E-49911D8438DD}, calculated columns as the values Access stored (NULL
// where it stored none). OLE objects, binary and attachment columns, and columns of a kind the
// import does not know, read empty, with a note; so does a single value that cannot be read,
// its note naming the table, the column and the row.
//
// A table's recorded row count is only a hint: every row its data pages hold is read. A table
// other than `requiredTable` that cannot be read is left out with a note; a `requiredTable` that
// cannot be read whole (a value of it included, or a column of a kind the import does not
// know), or a file cut short, is an error naming it.
//
// libmdb trusts the file's internal pointers; a damaged file can make it read out of bounds or
// follow a page chain for ever. So the reading runs in a program of its own, the importer, which
// limits its own memory and time, and is killed past the time limit here: an importer that
// crashes or hangs costs an error, never the program. Throws StoreError: CorruptFile naming
// `path` when the file cannot be read whole (the importer failed, crashed or ran out of time),
// ImporterUnavailable naming the importer when it cannot be started or ends without an answer.
AccessImport ImportAccessDatabase(const QByteArray& bytes, const QString& path,
                                  const QString& requiredTable);

// Time the reading may take before it is abandoned; 0 restores the default, which grows with the
// file's size. For tests.
void SetAccessImportTimeLimit(int milliseconds);

// The importer's file name; it stands in the application folder, beside the programs.
inline constexpr const char* kAccessImporterName = "ponencias-importar";

// The importer the import starts: kAccessImporterName in the running program's own folder,
// unless a test, benchmark or build tool, which run from other folders, named another.
QString AccessImporterProgram();
void SetAccessImporterProgram(const QString& path);  // empty: back to the default

}  // namespace ponencias
