#pragma once

#include <QString>
#include <stdexcept>

#include "StoreError.h"

struct sqlite3;

namespace ponencias {

// A failure SQLite reported: its extended result code and its message. Thrown where the store
// calls SQLite, and turned into the store's own error where it is known what failed (the data
// file being read, or a statement).
class SqliteFailure : public std::runtime_error {
public:
    SqliteFailure(int code, const QString& message);

    // The failure SQLite just reported on `db`.
    static SqliteFailure LastOn(sqlite3* db);

    // SQLite's extended result code (SQLITE_AUTH, SQLITE_CORRUPT_INDEX, …).
    int code() const { return code_; }
    const QString& message() const { return message_; }

    // The store's error for this failure of `sql` on the copy of `dataFile`: told apart by
    // SQLite's result code, and by its message only where SQLite gives no code of its own.
    StoreError forStatement(const QString& sql, const QString& dataFile) const;

private:
    int code_;
    QString message_;
};

}  // namespace ponencias
