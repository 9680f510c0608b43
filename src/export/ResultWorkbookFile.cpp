#include "ResultWorkbookFile.h"

#include <fcntl.h>
#include <unistd.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "ResultSheetExport.h"
#include "SpreadsheetFileKind.h"
#include "core/CheckedOutput.h"

namespace ponencias {

ResultWorkbookFile ResultWorkbookFile::InResultsFolder() {
    return ResultWorkbookFile(QString());
}

ResultWorkbookFile ResultWorkbookFile::At(const QString& path) {
    return ResultWorkbookFile(path);
}

QString ResultWorkbookFile::reserve(SpreadsheetFileKind kind) {
    if (!inResultsFolder_) {
        return path_;
    }
    path_ = ReserveResultFile(kind);
    reserved_ = true;
    return path_;
}

void ResultWorkbookFile::start(const XlsxWriteOptions& options) {
    try {
        writer_ = std::make_unique<ResultSheetWriter>(reserve(options.kind), options);
    } catch (const std::runtime_error&) {
        failure_ = std::current_exception();
        discard();
    }
}

XlsxWriteReport ResultWorkbookFile::finish() {
    try {
        if (!writer_) {
            std::rethrow_exception(failure_);
        }
        const XlsxWriteReport report = writer_->finish();
        writer_.reset();
        reserved_ = false;  // the saved file is the user's from here on
        return report;
    } catch (...) {
        discard();
        throw;
    }
}

void ResultWorkbookFile::discard() {
    writer_.reset();
    if (reserved_) {
        QFile::remove(path_);
        reserved_ = false;
    }
}

QString ResultsFolder() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    return base + QStringLiteral("/Ponencias-") + QString::number(::getuid());
}

QString KeptResultsFolder() {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) {
        documents = QDir::homePath();
    }
    return documents + QStringLiteral("/Consultas de ponencias");
}

namespace {

void MakeFolder(const QString& folder) {
    errno = 0;
    if (!QDir().mkpath(folder)) {
        throw OutputError(folder, errno != 0 ? errno : EIO);
    }
}

// A new, empty file in `folder` under the dated name, made exclusively so that no other file is
// ever taken; the complete file is later renamed onto it.
QString ReserveDatedName(const QString& folder, const QString& suffix) {
    const QString stem =
        folder + QStringLiteral("/Consulta de ponencias ") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        const QString path = stem +
                             (attempt == 1 ? QString() : QStringLiteral(" (%1)").arg(attempt)) +
                             QLatin1Char('.') + suffix;
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST) {
            throw OutputError(path, errno);
        }
    }
    throw SpreadsheetError("no quedan nombres libres en " + folder.toStdString());
}

}  // namespace

QString ReserveResultFile(SpreadsheetFileKind kind) {
    const QString folder = ResultsFolder();
    MakeFolder(folder);
    const QFileInfo info(folder);
    if (info.isSymLink() || !info.isDir() || info.ownerId() != ::getuid()) {
        throw SpreadsheetError("la carpeta " + folder.toStdString() + " no es de este usuario");
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return ReserveDatedName(folder, SpreadsheetFileSuffix(kind));
}

QString KeepResultFile(const QString& path) {
    const QString folder = KeptResultsFolder();
    MakeFolder(folder);
    const QString kept = ReserveDatedName(folder, QFileInfo(path).suffix());
    // Within one file system the file is renamed onto its reserved name at once; across file
    // systems (a temporary folder in memory) it is copied, complete or not at all.
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(kept).constData()) == 0) {
        return kept;
    }
    if (errno != EXDEV) {
        const int error = errno;
        QFile::remove(kept);
        throw OutputError(kept, error);
    }
    try {
        SaveWorkbookCopy(path, kept);
    } catch (...) {
        QFile::remove(kept);
        throw;
    }
    QFile::remove(path);
    return kept;
}

}  // namespace ponencias
