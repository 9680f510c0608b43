#include "ResultRows.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>

#include "StoreError.h"
#include "StoreSnapshot.h"
#include "core/SystemErrorText.h"

namespace ponencias {

namespace {

// How each kept value starts.
enum Tag : char { Null = 0, Integer = 1, Real = 2, Text = 3, Blob = 4 };

constexpr size_t kWindowBytes = size_t(1) << 20;

void AppendBytes(std::string& out, const void* bytes, size_t size) {
    out.append(static_cast<const char*>(bytes), size);
}

// The folder for temporary files, as the system names it (and as the store's own sorting uses).
QString TemporaryFolder() {
    const QString named = qEnvironmentVariable("TMPDIR");
    return named.isEmpty() ? QStringLiteral("/tmp") : named;
}

// An unnamed file in the temporary folder, gone from the folder from the start, so nothing is
// left behind however the program ends. -1 when none can be made.
int NewUnnamedFile() {
    const QByteArray folder = QFile::encodeName(TemporaryFolder());
    int fd = open(folder.constData(), O_TMPFILE | O_RDWR | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) {
        return fd;
    }
    // A folder whose file system cannot make unnamed files: a named one, unlinked at once.
    QByteArray name = folder + "/ponencias-resultado-XXXXXX";
    fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0) {
        unlink(name.constData());
    }
    return fd;
}

}  // namespace

ResultRows::ResultRows(const std::shared_ptr<const StoreSnapshot>& snapshot, const QString& sql)
    : sql_(sql) {
    sqlite3_stmt* statement = snapshot->Prepare(sql_);
    struct Finalize {
        sqlite3_stmt* s;
        ~Finalize() { sqlite3_finalize(s); }
    } finalize{statement};
    const int columns = sqlite3_column_count(statement);
    for (int c = 0; c < columns; ++c) {
        columns_ << QString::fromUtf8(sqlite3_column_name(statement, c));
    }
    try {
        int rc;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            keepRow(statement);
            ++count_;
        }
        if (rc != SQLITE_DONE) {
            throw snapshot->StatementFailure(sql_);
        }
        if (inFile()) {
            writeOut();
            std::string().swap(data_);
        }
        moveTo(0);
    } catch (...) {
        if (file_ >= 0) {
            close(file_);
        }
        throw;
    }
}

ResultRows::~ResultRows() {
    if (file_ >= 0) {
        close(file_);
    }
}

// Adds the statement's current row to the kept rows, moving them to the temporary file once
// they grow past what is kept in memory.
void ResultRows::keepRow(sqlite3_stmt* statement) {
    const size_t start = data_.size();
    const quint64 unknown = 0;
    AppendBytes(data_, &unknown, sizeof unknown);
    for (int c = 0; c < int(columns_.size()); ++c) {
        switch (sqlite3_column_type(statement, c)) {
            case SQLITE_INTEGER: {
                const sqlite3_int64 value = sqlite3_column_int64(statement, c);
                data_.push_back(Integer);
                AppendBytes(data_, &value, sizeof value);
                break;
            }
            case SQLITE_FLOAT: {
                const double value = sqlite3_column_double(statement, c);
                data_.push_back(Real);
                AppendBytes(data_, &value, sizeof value);
                break;
            }
            case SQLITE_TEXT:
            case SQLITE_BLOB: {
                const bool text = sqlite3_column_type(statement, c) == SQLITE_TEXT;
                // The pointer first, then the size: that is the order that leaves both valid.
                const void* value =
                    text ? static_cast<const void*>(sqlite3_column_text(statement, c))
                         : sqlite3_column_blob(statement, c);
                const auto size = quint32(sqlite3_column_bytes(statement, c));
                if (value == nullptr && size > 0) {
                    throw StoreError(StoreError::StatementFailed,
                                     QStringLiteral("No hay memoria para leer el resultado de la "
                                                    "sentencia «%1».")
                                         .arg(StatementForMessage(sql_)));
                }
                data_.push_back(text ? Text : Blob);
                AppendBytes(data_, &size, sizeof size);
                if (size > 0) {
                    AppendBytes(data_, value, size);
                }
                break;
            }
            default:
                data_.push_back(Null);
                break;
        }
    }
    const quint64 length = data_.size() - start - sizeof length;
    std::memcpy(data_.data() + start, &length, sizeof length);
    if (!inFile() && data_.size() > kKeptResultBytes) {
        file_ = NewUnnamedFile();
        if (file_ < 0) {
            throw StoreError(
                StoreError::StatementFailed,
                QStringLiteral("No se pudo crear un archivo temporal en «%1» para el "
                               "resultado de la sentencia «%2»: %3.")
                    .arg(TemporaryFolder(), StatementForMessage(sql_), SystemErrorText(errno)));
        }
    }
    if (inFile() && data_.size() >= kWindowBytes) {
        writeOut();
    }
}

void ResultRows::writeOut() {
    size_t done = 0;
    while (done < data_.size()) {
        const ssize_t put = pwrite(file_, data_.data() + done, data_.size() - done,
                                   off_t(fileSize_ + qint64(done)));
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            throw StoreError(StoreError::StatementFailed,
                             QStringLiteral("No se pudo guardar el resultado de la sentencia «%1» "
                                            "en un archivo temporal de «%2»: %3.")
                                 .arg(StatementForMessage(sql_), TemporaryFolder(),
                                      SystemErrorText(put < 0 ? errno : ENOSPC)));
        }
        done += size_t(put);
    }
    fileSize_ += qint64(data_.size());
    data_.clear();
}

// The row that starts at `offset`: its values and, in `length`, their size.
const char* ResultRows::rowAt(qint64 offset, quint64& length) {
    if (!inFile()) {
        std::memcpy(&length, data_.data() + offset, sizeof length);
        return data_.data() + offset + sizeof length;
    }
    // Brings bytes [offset, offset + size) of the file into the window.
    const auto window = [&](quint64 size) {
        if (offset >= windowStart_ &&
            offset + qint64(size) <= windowStart_ + qint64(data_.size())) {
            return;
        }
        if (offset + qint64(size) > fileSize_) {
            fail(QStringLiteral("el archivo temporal que lo guarda está incompleto"));
        }
        const qint64 wanted =
            std::min(std::max(qint64(size), qint64(kWindowBytes)), fileSize_ - offset);
        data_.resize(size_t(wanted));
        windowStart_ = offset;
        qint64 done = 0;
        while (done < wanted) {
            const ssize_t got =
                pread(file_, data_.data() + done, size_t(wanted - done), off_t(offset + done));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                data_.clear();
                fail(got < 0 ? SystemErrorText(errno)
                             : QStringLiteral("el archivo temporal que lo guarda está incompleto"));
            }
            done += got;
        }
    };
    window(sizeof length);
    std::memcpy(&length, data_.data() + (offset - windowStart_), sizeof length);
    window(sizeof length + length);
    return data_.data() + (offset - windowStart_) + sizeof length;
}

void ResultRows::moveTo(long row) {
    if (!failure_.isEmpty()) {
        fail(failure_);
    }
    const qint64 offset = row == 0 ? 0 : rowOffset_ + qint64(sizeof rowLength_ + rowLength_);
    if (row < count_) {
        quint64 length = 0;
        const char* start = rowAt(offset, length);
        decodeRow(start, length);
        rowLength_ = length;
    } else {
        current_.clear();
        rowLength_ = 0;
    }
    rowOffset_ = offset;
    position_ = row;
}

void ResultRows::fail(const QString& why) {
    failure_ = why;
    throw StoreError(StoreError::StatementFailed,
                     QStringLiteral("No se pudo terminar de leer el resultado de la sentencia "
                                    "«%1»: %2.")
                         .arg(StatementForMessage(sql_), why));
}

void ResultRows::decodeRow(const char* start, quint64 length) {
    current_.resize(size_t(columns_.size()));
    const char* at = start;
    const char* const end = start + length;
    for (const char*& value : current_) {
        // The rows were written by this object, but a file can be tampered with: a row that
        // does not hold its values is refused, not read past.
        if (at >= end) {
            fail(QStringLiteral("el archivo temporal que lo guarda está dañado"));
        }
        value = at;
        quint64 size = 1;
        if (*at == Integer || *at == Real) {
            size += 8;
        } else if (*at == Text || *at == Blob) {
            quint32 bytes = 0;
            if (end - at < 1 + qint64(sizeof bytes)) {
                fail(QStringLiteral("el archivo temporal que lo guarda está dañado"));
            }
            std::memcpy(&bytes, at + 1, sizeof bytes);
            size += sizeof bytes + bytes;
        } else if (*at != Null) {
            fail(QStringLiteral("el archivo temporal que lo guarda está dañado"));
        }
        if (quint64(end - at) < size) {
            fail(QStringLiteral("el archivo temporal que lo guarda está dañado"));
        }
        at += size;
    }
}

QVariant ResultRows::value(int column) const {
    const char* at = current_.at(size_t(column));
    switch (*at) {
        case Integer: {
            sqlite3_int64 value;
            std::memcpy(&value, at + 1, sizeof value);
            return QVariant(qlonglong(value));
        }
        case Real: {
            double value;
            std::memcpy(&value, at + 1, sizeof value);
            return QVariant(value);
        }
        case Text:
        case Blob: {
            quint32 size;
            std::memcpy(&size, at + 1, sizeof size);
            const char* bytes = at + 1 + sizeof size;
            if (*at == Text) {
                return QVariant(QString::fromUtf8(bytes, qsizetype(size)));
            }
            return QVariant(QByteArray(bytes, qsizetype(size)));
        }
        default:
            return QVariant();
    }
}

}  // namespace ponencias
