#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

// Readable failure messages for Qt's texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace ponencias::test {

inline QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes `bytes` to `path`, replacing what it held; a write that fails fails the test.
inline void WriteWholeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                file.write(bytes) == bytes.size() && file.flush())
        << path.toStdString();
}

// Writes `bytes` as `name` in `dir` and gives its path.
inline QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    WriteWholeFile(dir.filePath(name), bytes);
    return dir.filePath(name);
}

// Everything a folder holds, hidden entries included, by name.
inline QStringList EntriesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

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
    state.entries = EntriesIn(QFileInfo(file).path());
    return state;
}

// Sets environment variables (the folders a program looks in) while it lives; each goes back to
// what it was, or is unset again, after.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    Q_DISABLE_COPY(ScopedEnvironment)
    ~ScopedEnvironment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            it->second ? qputenv(it->first, *it->second) : qunsetenv(it->first);
        }
    }
    void set(const char* name, const QString& value) {
        saved_.emplace_back(
            name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        qputenv(name, QFile::encodeName(value));
    }

private:
    std::vector<std::pair<const char*, std::optional<QByteArray>>> saved_;
};

}  // namespace ponencias::test
