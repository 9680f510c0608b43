#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct sqlite3;

namespace ponencias {

class StoreSnapshot;

// The copy of an SQLite data file: every table of the file, each column under the dialect's
// collation, so SQLite and Access files answer the same statements the same way.
//
// The file is read in place, page by page through a small cache, so only the copy grows with the
// file's size. It is opened read-only and immutable: SQLite then takes no lock, never looks for
// or creates a journal, log or shared-memory file beside it, and reads a file left in
// write-ahead-log mode as an ordinary one (its log is not part of what the program reads).
class SqliteFileCopy {
public:
    // The copy of the file named `path` (read by its absolute name `readPath`), of `size` bytes,
    // whose first bytes are `head`. Throws StoreError (CorruptFile, naming `path`) when the file
    // is cut short or cannot be read whole.
    static std::shared_ptr<StoreSnapshot> Make(const QString& path, const QString& readPath,
                                               const QByteArray& head, qint64 size);

private:
    explicit SqliteFileCopy(sqlite3* db) : db_(db) {}

    // Each step below throws SqliteFailure.
    void attach(const QString& readPath);
    void check();
    void copyTables();
    void copyTable(const QString& table);
    std::vector<QStringList> rows(const QString& sql, int columns);
    void run(const QString& sql);

    sqlite3* db_;
};

}  // namespace ponencias
