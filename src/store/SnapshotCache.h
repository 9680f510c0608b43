#pragma once

#include <sys/stat.h>

#include <QString>
#include <deque>
#include <memory>
#include <mutex>

namespace ponencias {

class StoreSnapshot;

// One version of a data file: its absolute name, identity, size and times. A file's change time
// only moves on, so a version once replaced never comes back.
struct FileVersion {
    QString path;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    static FileVersion Of(const QString& path, const struct stat& info);
    bool operator==(const FileVersion& other) const;
};

// The copies kept for reuse, most recent first: at most kCopies of them, and beyond the most
// recent one no more than kBytes of data files in all, so a long session that opens many files,
// or large ones, holds a bounded amount of memory. A copy still in use by a connection lives on
// until that connection lets it go. Safe to use from any thread.
class SnapshotCache {
public:
    // The cache every opening of the store shares.
    static SnapshotCache& Shared();

    // The copy of `version`, kept or still in use, made the most recent; null when there is none.
    std::shared_ptr<StoreSnapshot> find(const FileVersion& version);
    // Keeps `snapshot`, the copy of `version`, as the most recent.
    void add(const FileVersion& version, const std::shared_ptr<StoreSnapshot>& snapshot);
    // Lets go of the copies of every version of the file at `path`.
    void forgetFile(const QString& path);
    void clear();
    // The size above which a data file's copy is shared only while in use; 0 restores it.
    void setKeepUnusedLimit(qint64 bytes);

private:
    struct Entry {
        FileVersion version;
        std::shared_ptr<StoreSnapshot> snapshot;  // null once only `inUse` finds it
        std::weak_ptr<StoreSnapshot> inUse;

        std::shared_ptr<StoreSnapshot> find() const { return snapshot ? snapshot : inUse.lock(); }
    };
    void trim();

    static constexpr size_t kCopies = 4;
    static constexpr qint64 kBytes = qint64(256) << 20;
    // The copy of a data file larger than this is shared while a connection uses it but not kept
    // once none does: a hundred megabytes held between two searches would outweigh the third of
    // a second it takes to read such a file again. The real database is a few megabytes.
    static constexpr qint64 kKeepUnusedBytes = qint64(64) << 20;

    std::mutex mutex_;
    std::deque<Entry> entries_;
    qint64 keepUnusedBytes_ = kKeepUnusedBytes;
};

}  // namespace ponencias
