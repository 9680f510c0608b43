#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "StoreError.h"

struct sqlite3;
struct sqlite3_stmt;

namespace ponencias {

// The queryable copy of one version of a data file: an in-memory SQLite database holding every
// table of the file, each column under the dialect's collation. It only answers queries: its
// statements may only read, so nothing a statement does can reach the file or change the copy.
class StoreSnapshot {
public:
    StoreSnapshot(sqlite3* db, QString dataFile, QStringList importNotes);
    ~StoreSnapshot();
    Q_DISABLE_COPY(StoreSnapshot)

    const QString& dataFile() const { return dataFile_; }
    // What the reading of the file could not take in (an Access table left out, a column read
    // empty), one Spanish sentence each naming the table and column; empty for most files.
    const QStringList& importNotes() const { return importNotes_; }

    // Compiles one statement for reading the copy, in the order the engine implies for it
    // (StatementText); the caller finalizes it. Throws StoreError, naming the statement, when it
    // is empty, is followed by another, would change anything or is rejected by the store.
    sqlite3_stmt* Prepare(const QString& sql) const;
    // The number of rows of `sql`.
    long Count(const QString& sql) const;
    // The store's error for the failure just reported while compiling or running `sql`.
    StoreError StatementFailure(const QString& sql) const;

private:
    sqlite3* db_;
    QString dataFile_;
    QStringList importNotes_;
};

// The copy of the data file at `path`. The copy of the version last opened (its name, identity,
// size and times) is kept and reused while the file stays that version. The file is only read,
// through one descriptor, never written or locked. Throws StoreError when the file is missing,
// not a regular file, unreadable, of another kind, truncated, corrupt or changed while read.
std::shared_ptr<StoreSnapshot> LoadStoreSnapshot(const QString& path);
// Lets the kept copy go (tests and benchmarks measure a first opening with it).
void ForgetKeptCopy();

}  // namespace ponencias
