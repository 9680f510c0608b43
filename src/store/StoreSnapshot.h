#pragma once

#include <QString>
#include <QStringList>

#include "SnapshotCache.h"
#include "SnapshotLoader.h"
#include "StoreError.h"

struct sqlite3;
struct sqlite3_stmt;

namespace ponencias {

// The queryable copy of one version of a data file: an in-memory SQLite database holding every
// table of the file, each text column under the dialect's collation. It only answers queries;
// nothing a statement does can reach the file or change the copy. LoadStoreSnapshot
// (SnapshotLoader.h) makes one, or finds the one kept for the file's version.
class StoreSnapshot {
public:
    StoreSnapshot(sqlite3* db, QString dataFile, QStringList importNotes = {});
    ~StoreSnapshot();
    Q_DISABLE_COPY(StoreSnapshot)

    const QString& dataFile() const { return dataFile_; }
    // What the reading of the file could not take in (an Access table left out, a column read
    // empty), one Spanish sentence each naming the table and column; empty for most files.
    const QStringList& importNotes() const { return importNotes_; }

    // Compiles one statement for reading the copy; the caller finalizes it. Throws StoreError,
    // naming the statement, when it is empty, is followed by another, would change anything or
    // is rejected by the store. A distinct result that asks for no order is given the order of
    // its columns (ImpliedRowOrder).
    sqlite3_stmt* Prepare(const QString& sql) const;
    // The store's error for the failure just reported while running `sql`.
    StoreError StatementFailure(const QString& sql) const;

private:
    sqlite3_stmt* compile(const QString& sql, const QByteArray& text) const;
    sqlite3_stmt* withImpliedOrder(sqlite3_stmt* statement, const QString& text) const;

    sqlite3* db_;
    QString dataFile_;
    QStringList importNotes_;
};

// Forgets every copy kept for reuse (tests and benchmarks measure a first opening with it).
void ClearStoreSnapshotCache();
// The size above which a data file's copy is shared only while in use (64 MB); 0 restores it.
void SetKeptCopyLimitForTesting(qint64 bytes);

}  // namespace ponencias
