#include "ResultFile.h"

#include <fcntl.h>
#include <unistd.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <stdexcept>

#include "CheckedOutput.h"
#include "ResultSheetExport.h"

namespace ponencias {

ResultFile ResultFile::InResultsFolder() {
    return ResultFile(QString());
}

ResultFile ResultFile::At(const QString& path) {
    return ResultFile(path);
}

QString ResultFile::reserve(SpreadsheetFileKind kind) {
    if (!inResultsFolder_) {
        return path_;
    }
    path_ = ReserveResultFile(kind);
    reserved_ = true;
    return path_;
}

void ResultFile::start(const XlsxWriteOptions& options) {
    try {
        writer_ = std::make_unique<ResultSheetWriter>(reserve(options.kind), options);
    } catch (const std::runtime_error&) {
        failure_ = std::current_exception();
        discard();
    }
}

XlsxWriteReport ResultFile::finish() {
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

void ResultFile::discard() {
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

QString ReserveResultFile(SpreadsheetFileKind kind) {
    const QString folder = ResultsFolder();
    errno = 0;
    if (!QDir().mkpath(folder)) {
        throw OutputError(folder, errno != 0 ? errno : EIO);
    }
    const QFileInfo info(folder);
    if (info.isSymLink() || !info.isDir() || info.ownerId() != ::getuid()) {
        throw SpreadsheetError("la carpeta " + folder.toStdString() + " no es de este usuario");
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString stem =
        folder + QStringLiteral("/Consulta de ponencias ") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
    const QString suffix = QLatin1Char('.') + SpreadsheetFileSuffix(kind);
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        const QString path =
            stem + (attempt == 1 ? QString() : QStringLiteral(" (%1)").arg(attempt)) + suffix;
        // Made exclusively, so no other workbook is ever taken; the complete workbook is later
        // renamed onto it.
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

}  // namespace ponencias
