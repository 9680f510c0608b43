#include "SpreadsheetFileKind.h"

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <QFile>
#include <cerrno>
#include <memory>

#include "core/CheckedOutput.h"

namespace ponencias {

namespace {

constexpr const char* kContentTypesPart = "[Content_Types].xml";

QByteArray MainPartType(SpreadsheetFileKind kind) {
    return QByteArray(kind == SpreadsheetFileKind::Template ? kTemplateMimeType
                                                            : kWorkbookMimeType) +
           ".main+xml";
}

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

// A libzip failure: the system's reason when there is one, otherwise the file is no spreadsheet
// libzip can read.
[[noreturn]] void Fail(FileReplacement& file, zip_error_t* error) {
    if (zip_error_system_type(error) == ZIP_ET_SYS && zip_error_code_system(error) != 0) {
        throw file.error(zip_error_code_system(error));
    }
    throw SpreadsheetError(QStringLiteral("«%1» no es un libro xlsx legible (libzip: %2)")
                               .arg(file.path(), QString::fromUtf8(zip_error_strerror(error)))
                               .toStdString());
}

QByteArray ReadPart(FileReplacement& file, zip_t* archive, zip_uint64_t index) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, 0, &stat) != 0) {
        Fail(file, zip_get_error(archive));
    }
    zip_file_t* part = zip_fopen_index(archive, index, 0);
    if (!part) {
        Fail(file, zip_get_error(archive));
    }
    QByteArray data(qsizetype(stat.size), Qt::Uninitialized);
    const zip_int64_t read = zip_fread(part, data.data(), stat.size);
    const int zipCode = zip_error_code_zip(zip_file_get_error(part));
    const int systemCode = zip_error_code_system(zip_file_get_error(part));
    zip_fclose(part);
    if (read != zip_int64_t(stat.size)) {
        zip_error_t error;
        zip_error_init(&error);
        zip_error_set(&error, zipCode == ZIP_ER_OK ? ZIP_ER_READ : zipCode, systemCode);
        Fail(file, &error);
    }
    return data;
}

// A file open for reading, closed when let go (a read-only close reports nothing to act on).
struct ReadDescriptor {
    explicit ReadDescriptor(const QString& path)
        : fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC)) {
        if (fd < 0) {
            throw OutputError(path, errno);
        }
    }
    ~ReadDescriptor() { ::close(fd); }
    Q_DISABLE_COPY(ReadDescriptor)
    const int fd;
};

}  // namespace

QString SpreadsheetFileSuffix(SpreadsheetFileKind kind) {
    return kind == SpreadsheetFileKind::Template ? QStringLiteral("xltx") : QStringLiteral("xlsx");
}

void SetSpreadsheetFileKind(FileReplacement& file, SpreadsheetFileKind kind) {
    int code = 0;
    Archive archive(zip_open(QFile::encodeName(file.temporaryPath()).constData(), 0, &code));
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        Fail(file, &error);
    }
    const zip_int64_t index = zip_name_locate(archive.get(), kContentTypesPart, 0);
    if (index < 0) {
        Fail(file, zip_get_error(archive.get()));
    }
    QByteArray types = ReadPart(file, archive.get(), zip_uint64_t(index));
    const QByteArray wanted = MainPartType(kind);
    const QByteArray other =
        MainPartType(kind == SpreadsheetFileKind::Template ? SpreadsheetFileKind::Workbook
                                                           : SpreadsheetFileKind::Template);
    const QByteArray quotedOther = '"' + other + '"';
    if (types.count(quotedOther) != 1) {
        if (types.contains('"' + wanted + '"')) {
            return;  // already of that kind
        }
        throw SpreadsheetError(QStringLiteral("«%1» no declara una hoja de cálculo principal")
                                   .arg(file.path())
                                   .toStdString());
    }
    types.replace(quotedOther, '"' + wanted + '"');
    // The buffer is read when the archive is written, at zip_close.
    zip_source_t* source =
        zip_source_buffer(archive.get(), types.constData(), zip_uint64_t(types.size()), 0);
    if (!source) {
        Fail(file, zip_get_error(archive.get()));
    }
    if (zip_file_replace(archive.get(), zip_uint64_t(index), source, 0) != 0) {
        zip_source_free(source);
        Fail(file, zip_get_error(archive.get()));
    }
    // On failure libzip removes its own temporary file and leaves the archive as it was.
    if (zip_close(archive.get()) != 0) {
        Fail(file, zip_get_error(archive.get()));
    }
    archive.release();  // zip_close freed it
    file.reopenTemporary();
}

void SaveWorkbookCopy(const QString& source, const QString& destination) {
    const ReadDescriptor saved(source);
    FileReplacement file(destination);
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(saved.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw OutputError(source, errno);
        }
        if (got == 0) {
            break;
        }
        file.write(QByteArrayView(buffer, got));
    }
    SetSpreadsheetFileKind(file, SpreadsheetFileKind::Workbook);
    file.commit();
}

}  // namespace ponencias
