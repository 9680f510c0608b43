#pragma once

#include <QByteArray>

struct sqlite3;

namespace ponencias {

// The in-memory SQLite database a snapshot answers from, while it is being built: made with the
// dialect registered, filled by the builder of its kind of data file, then locked down to reading
// and handed over to its snapshot. Closed with the object unless handed over.
class InMemoryCopy {
public:
    // Throws StoreError when no database can be made.
    InMemoryCopy();
    ~InMemoryCopy();
    Q_DISABLE_COPY(InMemoryCopy)

    sqlite3* db() const { return db_; }
    // Makes `image`, a whole database image, the copy's content without any file behind it.
    // Throws SqliteFailure.
    void load(const QByteArray& image);
    // Allows only reading from now on, and hands the database over (to its snapshot).
    sqlite3* lockDown();

private:
    sqlite3* db_ = nullptr;
};

}  // namespace ponencias
