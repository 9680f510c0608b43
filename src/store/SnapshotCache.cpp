#include "SnapshotCache.h"

#include "StoreSnapshot.h"

namespace ponencias {

FileVersion FileVersion::Of(const QString& path, const struct stat& info) {
    return {path, info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

bool FileVersion::operator==(const FileVersion& other) const {
    return path == other.path && device == other.device && inode == other.inode &&
           size == other.size && modified.tv_sec == other.modified.tv_sec &&
           modified.tv_nsec == other.modified.tv_nsec && changed.tv_sec == other.changed.tv_sec &&
           changed.tv_nsec == other.changed.tv_nsec;
}

SnapshotCache& SnapshotCache::Shared() {
    static SnapshotCache cache;
    return cache;
}

std::shared_ptr<StoreSnapshot> SnapshotCache::find(const FileVersion& version) {
    std::lock_guard lock(mutex_);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->version == version) {
            Entry entry = *it;
            entries_.erase(it);
            std::shared_ptr<StoreSnapshot> found = entry.find();
            if (found) {
                entries_.push_front(entry);
            }
            return found;
        }
    }
    return nullptr;
}

void SnapshotCache::add(const FileVersion& version,
                        const std::shared_ptr<StoreSnapshot>& snapshot) {
    std::lock_guard lock(mutex_);
    entries_.push_front({version, snapshot, {}});
    trim();
}

void SnapshotCache::forgetFile(const QString& path) {
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [&](const Entry& entry) { return entry.version.path == path; });
}

void SnapshotCache::clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}

void SnapshotCache::setKeepUnusedLimit(qint64 bytes) {
    std::lock_guard lock(mutex_);
    keepUnusedBytes_ = bytes > 0 ? bytes : kKeepUnusedBytes;
}

void SnapshotCache::trim() {
    std::erase_if(entries_, [](const Entry& entry) { return !entry.find(); });
    qint64 bytes = 0;
    size_t kept = 0;
    while (kept < entries_.size()) {
        Entry& entry = entries_[kept];
        if (qint64(entry.version.size) > keepUnusedBytes_ && entry.snapshot) {
            entry.inUse = entry.snapshot;
            entry.snapshot.reset();
        }
        bytes += entry.snapshot ? qint64(entry.version.size) : 0;
        if (kept > 0 && (kept >= kCopies || bytes > kBytes)) {
            break;
        }
        ++kept;
    }
    entries_.resize(kept);
}

void ClearStoreSnapshotCache() {
    SnapshotCache::Shared().clear();
}

void SetKeptCopyLimitForTesting(qint64 bytes) {
    SnapshotCache::Shared().setKeepUnusedLimit(bytes);
}

}  // namespace ponencias
