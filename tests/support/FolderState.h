#pragma once

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace ponencias::test {

// What reading a file must never change: its bytes, its modification time and what its folder
// holds (no journal, lock or temporary file beside it).
struct FolderState {
    QByteArray digest;
    qint64 modifiedNs = 0;
    QStringList entries;
    bool operator==(const FolderState&) const = default;
};

inline FolderState StateOf(const QString& file) {
    FolderState state;
    QFile data(file);
    if (data.open(QIODevice::ReadOnly)) {
        state.digest = QCryptographicHash::hash(data.readAll(), QCryptographicHash::Sha256);
    }
    struct stat info {};
    if (stat(QFile::encodeName(file).constData(), &info) == 0) {
        state.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    }
    state.entries = QDir(QFileInfo(file).path())
                        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    return state;
}

}  // namespace ponencias::test
