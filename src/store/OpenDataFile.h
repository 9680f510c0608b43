#pragma once

#include <sys/stat.h>

#include <QByteArray>
#include <QString>

#include "SnapshotCache.h"

namespace ponencias {

// A data file opened for reading: a regular file, read through one descriptor as one version
// from its first byte to its last. The file is only read, never locked or changed.
class OpenDataFile {
public:
    // Opens the file at `path`. Throws StoreError when none is named, it does not exist, is a
    // folder or anything but a regular file, or cannot be opened.
    explicit OpenDataFile(const QString& path);

    const QString& path() const { return path_; }
    // The name SQLite is given: the name as given, only made absolute (not tidied, which could
    // change what a ".." after a link leads to).
    const QString& readPath() const { return readPath_; }
    const FileVersion& version() const { return version_; }
    qint64 size() const { return qint64(version_.size); }

    // Up to `size` bytes from the file's start; fewer only when the file is shorter. Throws
    // StoreError when reading fails.
    QByteArray readStart(qint64 size) const;
    // Whether the file is still the version opened: its identity, size and times are the same,
    // and the name SQLite reads it by still leads to it.
    bool unchanged() const;

private:
    // The descriptor, closed with its owner (also when the opening throws half way).
    struct Descriptor {
        int fd = -1;
        Descriptor() = default;
        Q_DISABLE_COPY(Descriptor)
        ~Descriptor();
    };

    QString path_;
    QString readPath_;
    Descriptor file_;
    FileVersion version_;
};

}  // namespace ponencias
