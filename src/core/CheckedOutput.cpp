#include "CheckedOutput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>

#include "SystemErrorText.h"

namespace ponencias {

OutputError::OutputError(const QString& target, const QString& reason)
    : std::runtime_error((target + QStringLiteral(": ") + reason).toStdString()),
      target_(target),
      reason_(reason) {}

OutputError::OutputError(const QString& target, int errorNumber)
    : OutputError(target, SystemErrorText(errorNumber)) {}

QString OutputError::message() const {
    if (target_ == QString::fromUtf8(kStandardOutputName)) {
        return QStringLiteral("No se pudo escribir en %1: %2").arg(target_, reason_);
    }
    return QStringLiteral("No se pudo escribir «%1»: %2").arg(target_, reason_);
}

bool WriteWhole(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        data += written;
        size -= size_t(written);
    }
    return true;
}

namespace {

bool CloseChecked(int fd) {
    // Linux releases the descriptor even when close reports an error; it is never retried.
    return ::close(fd) == 0 || errno == EINTR;
}

QString RandomSuffix() {
    return QString::number(QRandomGenerator::global()->generate64(), 36);
}

}  // namespace

FileReplacement::FileReplacement(const QString& path) : path_(path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat target {};
    QString folder;
    QString name = QFileInfo(path).fileName();
    bool replacing = false;
    if (::stat(native.constData(), &target) == 0) {
        replacing = true;
        if (S_ISDIR(target.st_mode)) {
            throw OutputError(path_, EISDIR);
        }
        inPlace_ = !S_ISREG(target.st_mode);
        if (!inPlace_) {
            // The link stays; the file it points to is the one replaced.
            path_ = QFileInfo(path).canonicalFilePath();
            name = QFileInfo(path_).fileName();
            folder = QFileInfo(path_).path();
        }
    } else if (errno != ENOENT) {
        throw OutputError(path_, errno);
    } else {
        folder = QFileInfo(path).path();
    }
    if (inPlace_) {
        folder = QDir::tempPath();
        name = QStringLiteral("ponencias");
    }
    // Made by us, exclusively, with the mode a new file gets (the umask applies).
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary_ = folder + QStringLiteral("/.") + name + QLatin1Char('.') + RandomSuffix() +
                     QStringLiteral(".tmp");
        fd_ = ::open(QFile::encodeName(temporary_).constData(),
                     O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            break;
        }
        if (errno != EEXIST) {
            const int error = errno;
            temporary_.clear();
            throw OutputError(path_, error);
        }
    }
    if (fd_ < 0) {
        temporary_.clear();
        throw OutputError(path_, EEXIST);
    }
    if (replacing && !inPlace_) {
        // A replaced file keeps its permissions.
        ::fchmod(fd_, target.st_mode & 07777);
    }
}

FileReplacement::~FileReplacement() {
    discard();
}

void FileReplacement::write(QByteArrayView bytes) {
    if (fd_ < 0 || !WriteWhole(fd_, bytes.data(), size_t(bytes.size()))) {
        const int error = fd_ < 0 ? EBADF : errno;
        discard();
        throw OutputError(path_, error);
    }
}

void FileReplacement::reopenTemporary() {
    struct stat old {};
    const int fd = ::open(QFile::encodeName(temporary_).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0 || ::fstat(fd_, &old) != 0 || ::fchmod(fd, old.st_mode & 07777) != 0) {
        const int error = errno;
        if (fd >= 0) {
            ::close(fd);
        }
        discard();
        throw OutputError(path_, error);
    }
    ::close(fd_);  // the old file, already replaced: nothing of it is kept
    fd_ = fd;
}

void FileReplacement::commit() {
    if (fd_ < 0) {
        throw OutputError(path_, EBADF);
    }
    // fsync covers what a library wrote through its own descriptor too: it acts on the file.
    if (::fsync(fd_) != 0 && errno != EINVAL) {
        const int error = errno;
        discard();
        throw OutputError(path_, error);
    }
    if (inPlace_) {
        copyOntoTarget();
    } else {
        const int fd = fd_;
        fd_ = -1;
        if (!CloseChecked(fd) || ::rename(QFile::encodeName(temporary_).constData(),
                                          QFile::encodeName(path_).constData()) != 0) {
            const int error = errno;
            discard();
            throw OutputError(path_, error);
        }
        // The folder is not synced: after a crash the name holds either the old file or the
        // new one, each complete, which is all this promises.
        temporary_.clear();
    }
}

void FileReplacement::copyOntoTarget() {
    const int out = ::open(QFile::encodeName(path_).constData(), O_WRONLY | O_CLOEXEC);
    int error = out < 0 ? errno : 0;
    char buffer[65536];
    off_t offset = 0;
    while (error == 0) {
        const ssize_t got = ::pread(fd_, buffer, sizeof buffer, offset);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error = errno;
        } else if (got == 0) {
            break;
        } else if (!WriteWhole(out, buffer, size_t(got))) {
            error = errno;
        }
        offset += got > 0 ? got : 0;
    }
    if (out >= 0 && !CloseChecked(out) && error == 0) {
        error = errno;
    }
    discard();
    if (error != 0) {
        throw OutputError(path_, error);
    }
}

void FileReplacement::discard() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.isEmpty()) {
        ::unlink(QFile::encodeName(temporary_).constData());
        temporary_.clear();
    }
}

void ReplaceFile(const QString& path, QByteArrayView bytes) {
    FileReplacement file(path);
    file.write(bytes);
    file.commit();
}

void WriteStandardOutput(QByteArrayView bytes) {
    // Whatever the C library holds for stdout goes first, so the order is kept.
    if (std::fflush(stdout) != 0 || !WriteWhole(STDOUT_FILENO, bytes.data(), size_t(bytes.size()))) {
        throw OutputError(QString::fromUtf8(kStandardOutputName), errno);
    }
}

void CloseStandardOutput() {
    if (std::fflush(stdout) != 0) {
        throw OutputError(QString::fromUtf8(kStandardOutputName), errno);
    }
    // Closing a copy of the descriptor is enough for the system to report deferred errors, and
    // descriptor 1 stays taken, so no file opened later can become the standard output.
    const int copy = ::dup(STDOUT_FILENO);
    if (copy < 0) {
        return;  // a standard output that was never open has nothing to report
    }
    if (!CloseChecked(copy)) {
        throw OutputError(QString::fromUtf8(kStandardOutputName), errno);
    }
}

}  // namespace ponencias
