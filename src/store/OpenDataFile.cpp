#include "OpenDataFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "StoreError.h"
#include "core/SystemErrorText.h"

namespace ponencias {

namespace {

// Non-blocking, so a named pipe put in the file's place cannot stall the opening.
int OpenForReading(const QByteArray& native) {
    int fd = open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOATIME);
    if (fd < 0 && errno == EPERM) {
        fd = open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    }
    return fd;
}

}  // namespace

OpenDataFile::OpenDataFile(const QString& path) : path_(path) {
    if (path.isEmpty()) {
        throw StoreError(StoreError::FileNotFound,
                         QStringLiteral("No se indicó el archivo de datos."));
    }
    file_.fd = OpenForReading(QFile::encodeName(path));
    if (file_.fd < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) {
            throw StoreError(StoreError::FileNotFound,
                             QStringLiteral("No se encuentra el archivo de datos «%1».").arg(path));
        }
        throw StoreError(StoreError::FileUnreadable,
                         QStringLiteral("No se puede abrir el archivo de datos «%1» para leerlo: "
                                        "%2.")
                             .arg(path, SystemErrorText(error)));
    }
    struct stat info {};
    if (fstat(file_.fd, &info) != 0) {
        throw ReadError(path, errno);
    }
    if (S_ISDIR(info.st_mode)) {
        throw StoreError(StoreError::FileNotFound,
                         QStringLiteral("No se encuentra el archivo de datos «%1»: en su lugar "
                                        "hay una carpeta.")
                             .arg(path));
    }
    if (!S_ISREG(info.st_mode)) {
        throw StoreError(StoreError::FileUnreadable,
                         QStringLiteral("No se puede leer el archivo de datos «%1»: no es un "
                                        "archivo ordinario.")
                             .arg(path));
    }
    version_ = FileVersion::Of(QFileInfo(path).absoluteFilePath(), info);
    readPath_ = QDir::isAbsolutePath(path) ? path : QDir::currentPath() + u'/' + path;
}

OpenDataFile::Descriptor::~Descriptor() {
    if (fd >= 0) {
        close(fd);
    }
}

QByteArray OpenDataFile::readStart(qint64 size) const {
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t got = pread(file_.fd, bytes.data() + done, size_t(bytes.size() - done), done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw ReadError(path_, errno);
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    bytes.truncate(done);
    return bytes;
}

bool OpenDataFile::unchanged() const {
    struct stat now {};
    struct stat named {};
    return fstat(file_.fd, &now) == 0 && FileVersion::Of(version_.path, now) == version_ &&
           stat(QFile::encodeName(readPath_).constData(), &named) == 0 &&
           FileVersion::Of(version_.path, named) == version_;
}

}  // namespace ponencias
