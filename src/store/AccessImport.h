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
// notes, one a line (UTF-8, never a NUL), a NUL, then the image. When the file cannot be read it
// ends with status 1, and its output says why. Decoding gives nothing for an output without the
// NUL; a damaged image is found when the copy is made of it.
QByteArray EncodeAccessImport(const AccessImport& import);
std::optional<AccessImport> DecodeAccessImport(const QByteArray& output);

// Reads every user table of an Access file, whose bytes are `bytes`, into a new SQLite database,
// as the importer reads it (importer/ImportReply.h); the proposals' table `requiredTable` must be
// read whole. libmdb trusts the file's internal pointers, so the reading runs in a program of
// its own, the importer, which limits its own memory and time, and is killed past the time limit
// here: an importer that crashes or hangs costs an error, never the program. Throws StoreError:
// CorruptFile naming `path` when the file cannot be read whole (the importer said so, crashed or
// ran out of time), ImporterUnavailable naming the importer when it cannot be started or ends
// without an answer.
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
