#include "StoreSnapshot.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <cerrno>
#include <optional>
#include <vector>

#include "AccessImport.h"
#include "JetDialect.h"
#include "ProposalTable.h"
#include "StatementText.h"
#include "core/SystemErrorText.h"

namespace ponencias {

StoreSnapshot::StoreSnapshot(sqlite3* db, QString dataFile, QStringList importNotes)
    : db_(db), dataFile_(std::move(dataFile)), importNotes_(std::move(importNotes)) {}

StoreSnapshot::~StoreSnapshot() {
    sqlite3_close(db_);
}

sqlite3_stmt* StoreSnapshot::Prepare(const QString& sql) const {
    const StatementText statement(sql);
    const QByteArray text = statement.text.toUtf8();
    sqlite3_stmt* compiled = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &compiled, &tail) !=
        SQLITE_OK) {
        throw StatementFailure(sql);
    }
    if (compiled == nullptr) {
        throw StoreError(
            StoreError::SyntaxError,
            QStringLiteral("La sentencia «%1» está vacía.").arg(StatementForMessage(sql)));
    }
    // One statement per call: a second one, or text past a NUL SQLite stops at, is refused.
    const QByteArrayView rest(tail, text.constData() + text.size() - tail);
    sqlite3_stmt* next = nullptr;
    const int restRead = sqlite3_prepare_v2(db_, rest.data(), int(rest.size()), &next, nullptr);
    sqlite3_finalize(next);
    if (restRead != SQLITE_OK || next != nullptr || rest.contains('\0')) {
        sqlite3_finalize(compiled);
        throw StoreError(StoreError::SyntaxError,
                         QStringLiteral("Hay caracteres después del final de la sentencia «%1».")
                             .arg(StatementForMessage(sql)));
    }
    // Should the ordered text not compile, the statement runs as written.
    const int columns = sqlite3_column_count(compiled);
    if (statement.orderAt >= 0 && columns > 0) {
        const QByteArray ordered = statement.ordered(columns).toUtf8();
        sqlite3_stmt* sorted = nullptr;
        if (sqlite3_prepare_v2(db_, ordered.constData(), int(ordered.size()), &sorted, nullptr) ==
                SQLITE_OK &&
            sorted != nullptr) {
            sqlite3_finalize(compiled);
            compiled = sorted;
        }
    }
    return compiled;
}

long StoreSnapshot::Count(const QString& sql) const {
    // Counted by SQLite where the statement can stand in a FROM clause; otherwise walked once.
    const QByteArray counting = StatementText(sql).counted().toUtf8();
    sqlite3_stmt* counter = nullptr;
    const bool wrapped = sqlite3_prepare_v2(db_, counting.constData(), int(counting.size()),
                                            &counter, nullptr) == SQLITE_OK &&
                         counter != nullptr;
    counter = wrapped ? counter : Prepare(sql);
    long rows = 0;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(counter)) == SQLITE_ROW) {
        rows = wrapped ? long(sqlite3_column_int64(counter, 0)) : rows + 1;
    }
    const std::optional<StoreError> failure =
        rc == SQLITE_DONE ? std::nullopt : std::optional(StatementFailure(sql));
    sqlite3_finalize(counter);
    if (failure) {
        throw *failure;
    }
    return rows;
}

StoreError StoreSnapshot::StatementFailure(const QString& sql) const {
    const QString statement = StatementForMessage(sql);
    const QString message = QString::fromUtf8(sqlite3_errmsg(db_));
    const int code = sqlite3_errcode(db_);
    if (code == SQLITE_AUTH) {
        return StoreError(StoreError::ReadOnly,
                          QStringLiteral("El almacén de ponencias es de solo lectura; no se "
                                         "admite la sentencia «%1».")
                              .arg(statement));
    }
    // A missing table or column and a syntax error share SQLite's general code.
    if (code == SQLITE_ERROR && message.startsWith(QLatin1String("no such table: "))) {
        return StoreError(StoreError::TableNotFound,
                          QStringLiteral("No se encuentra la tabla o consulta «%1» en el archivo "
                                         "de datos «%2». Sentencia: «%3».")
                              .arg(message.mid(15), dataFile_, statement));
    }
    if (code == SQLITE_ERROR && message.startsWith(QLatin1String("no such column: "))) {
        return StoreError(StoreError::ColumnNotFound,
                          QStringLiteral("No se encuentra la columna «%1» en el archivo de datos "
                                         "«%2». Sentencia: «%3».")
                              .arg(message.mid(16), dataFile_, statement));
    }
    if (code == SQLITE_ERROR && (message.contains(QLatin1String("syntax error")) ||
                                 message.contains(QLatin1String("incomplete input")) ||
                                 message.contains(QLatin1String("unrecognized token")))) {
        return StoreError(
            StoreError::SyntaxError,
            QStringLiteral("Error de sintaxis en la sentencia «%1» (%2).").arg(statement, message));
    }
    return StoreError(
        StoreError::StatementFailed,
        QStringLiteral("No se pudo ejecutar la sentencia «%1» (%2).").arg(statement, message));
}

namespace {

// One version of a data file: its absolute name, then its device, inode, size and modification
// and change times. A file's change time only moves on, so a version once replaced never comes
// back.
struct FileVersion {
    QString path;
    std::array<qint64, 7> stamp{};
    bool operator==(const FileVersion&) const = default;
};

FileVersion VersionOf(const QString& path, const struct stat& info) {
    return {path,
            {qint64(info.st_dev), qint64(info.st_ino), qint64(info.st_size), info.st_mtim.tv_sec,
             info.st_mtim.tv_nsec, info.st_ctim.tv_sec, info.st_ctim.tv_nsec}};
}

// The copy of the version last opened.
struct KeptCopy {
    FileVersion version;
    std::shared_ptr<StoreSnapshot> copy;
} g_kept;

struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) {
            close(fd);
        }
    }
};

// Non-blocking, so a named pipe put in the file's place cannot stall the opening; without
// touching its access time where the system allows it.
int OpenForReading(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    const int fd = open(name.constData(), flags | O_NOATIME);
    return fd < 0 && errno == EPERM ? open(name.constData(), flags) : fd;
}

// Kind of data file, told by its first bytes, never by its name.
enum class DataFileKind { Unknown, Sqlite, Access };
DataFileKind KindOf(const QByteArray& head) {
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0"))) {
        return DataFileKind::Sqlite;
    }
    if (head.size() > 0x14 && head.at(0) == 0 &&
        (head.mid(4, 16) == QByteArrayLiteral("Standard Jet DB\0") ||
         head.mid(4, 16) == QByteArrayLiteral("Standard ACE DB\0"))) {
        return DataFileKind::Access;
    }
    return DataFileKind::Unknown;
}

StoreError ReadError(const QString& path, int error) {
    return StoreError(StoreError::FileUnreadable,
                      QStringLiteral("No se puede leer el archivo de datos «%1»: %2.")
                          .arg(path, SystemErrorText(error)));
}

// Up to `length` bytes from the file's start.
QByteArray Read(const Descriptor& file, qint64 length, const QString& path) {
    QByteArray bytes(qsizetype(length), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t got = pread(file.fd, bytes.data() + done, size_t(bytes.size() - done), done);
        if (got < 0 && errno != EINTR) {
            throw ReadError(path, errno);
        }
        if (got == 0) {
            break;
        }
        done += got > 0 ? got : 0;
    }
    bytes.truncate(done);
    return bytes;
}

// An SQLite file holds every page its header declares: the header names the page size and, when
// its count is current, the page count; a file that ends inside a page or before its last page
// was cut off.
void RequireSqlitePages(const QString& path, const QByteArray& bytes, qint64 size) {
    if (bytes.size() < 100) {
        throw CorruptFileError(path, QStringLiteral("termina antes del final de su cabecera"));
    }
    const auto byteAt = [&](int at) { return quint32(uchar(bytes.at(at))); };
    const quint32 pageField = byteAt(16) << 8 | byteAt(17);
    const qint64 pageSize = pageField == 1 ? 65536 : qint64(pageField);
    const quint32 pages = byteAt(28) << 24 | byteAt(29) << 16 | byteAt(30) << 8 | byteAt(31);
    const bool pagesCurrent = bytes.mid(24, 4) == bytes.mid(92, 4) && pages != 0;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0 || size % pageSize != 0 ||
        (pagesCurrent && size < qint64(pages) * pageSize)) {
        throw CorruptFileError(path, QStringLiteral("su tamaño (%1 bytes) no corresponde a las "
                                                    "páginas que declara; el archivo está cortado")
                                         .arg(size));
    }
}

// Only reading is allowed once the copy is built: it is shared by every opening of the file's
// version and must stay as built, and no statement may reach another file. (SQLite itself
// refuses to load extensions.)
int OnlyReading(void*, int action, const char*, const char*, const char*, const char*) {
    return action == SQLITE_SELECT || action == SQLITE_READ || action == SQLITE_RECURSIVE ||
                   action == SQLITE_FUNCTION
               ? SQLITE_OK
               : SQLITE_DENY;
}

// The in-memory database a copy is built in; closed with the object unless handed over.
class Builder {
public:
    explicit Builder(const QString& path) : path_(path) {
        // The program reads its store from one thread: SQLite need not lock at every call.
        if (sqlite3_open_v2(
                ":memory:", &db_,
                SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                nullptr) != SQLITE_OK ||
            RegisterJetDialect(db_) != SQLITE_OK) {
            sqlite3_close(db_);
            throw StoreError(StoreError::StatementFailed,
                             QStringLiteral("No se pudo crear la copia en memoria del almacén."));
        }
    }
    ~Builder() { sqlite3_close(db_); }
    Q_DISABLE_COPY(Builder)

    // Copies every table of the database `source` (an SQLite URI), or of `image` when it is
    // given, each column with its declared type and under the dialect's collation, so SQLite and
    // Access files answer the same statements the same way.
    void copyTables(const QString& source, QByteArray* image = nullptr) {
        run(QStringLiteral("ATTACH '%1' AS source").arg(source));
        if (image != nullptr &&
            sqlite3_deserialize(db_, "source", reinterpret_cast<unsigned char*>(image->data()),
                                image->size(), image->size(),
                                SQLITE_DESERIALIZE_READONLY) != SQLITE_OK) {
            fail();
        }
        // SQLite's own check of the structure, whose first finding becomes the reason given.
        const auto check = rows(QStringLiteral("PRAGMA source.quick_check"), 1);
        if (check.empty() || check[0][0] != QLatin1String("ok")) {
            throw CorruptFileError(path_, check.empty() ? QString() : check[0][0]);
        }
        const auto tables = rows(QStringLiteral("SELECT name, coalesce(sql, '') FROM "
                                                "source.sqlite_schema WHERE type = 'table' AND "
                                                "substr(name, 1, 7) <> 'sqlite_'"),
                                 2);
        run(QStringLiteral("BEGIN"));
        for (const QStringList& table : tables) {
            if (!table[1].trimmed().startsWith(QLatin1String("CREATE VIRTUAL"),
                                               Qt::CaseInsensitive)) {
                copyTable(QuotedIdentifier(table[0]));
            }
        }
        run(QStringLiteral("COMMIT"));
        run(QStringLiteral("DETACH source"));
    }

    sqlite3* handOver() {
        // SQLite sorts in memory up to its cache's size, then through temporary files: a whole
        // result of the real database (a few megabytes) is sorted in memory, a far larger one on
        // disk, as before.
        run(QStringLiteral("PRAGMA cache_size = -16384"));
        sqlite3_set_authorizer(db_, OnlyReading, nullptr);
        return std::exchange(db_, nullptr);
    }

private:
    void copyTable(const QString& table) {
        QStringList definitions;
        QStringList names;
        for (const QStringList& column :
             rows(QStringLiteral("PRAGMA source.table_info(%1)").arg(table), 3)) {
            definitions << QuotedIdentifier(column[1]) + u' ' + column[2] +
                               QStringLiteral(" COLLATE ") + QLatin1String(kJetTextCollation);
            names << QuotedIdentifier(column[1]);
        }
        if (!names.isEmpty()) {
            run(QStringLiteral("CREATE TABLE main.%1 (%2)")
                    .arg(table, definitions.join(QStringLiteral(", "))));
            run(QStringLiteral("INSERT INTO main.%1 SELECT %2 FROM source.%1")
                    .arg(table, names.join(QStringLiteral(", "))));
        }
    }

    std::vector<QStringList> rows(const QString& sql, int columns) {
        std::vector<QStringList> rows;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &statement, nullptr) !=
            SQLITE_OK) {
            fail();
        }
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            QStringList row;
            for (int c = 0; c < columns; ++c) {
                row << QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, c)));
            }
            rows.push_back(row);
        }
        sqlite3_finalize(statement);
        if (rc != SQLITE_DONE) {
            fail();
        }
        return rows;
    }

    void run(const QString& sql) {
        if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            fail();
        }
    }

    [[noreturn]] void fail() {
        throw CorruptFileError(path_, QString::fromUtf8(sqlite3_errmsg(db_)));
    }

    QString path_;
    sqlite3* db_ = nullptr;
};

// The copy of the open file. An SQLite file is read in place, through the program's own
// descriptor, read-only and immutable: SQLite then takes no lock, never looks for or creates a
// journal, log or shared-memory file beside it, and reads a file left in write-ahead-log mode as
// an ordinary one. An Access file is read whole and imported.
std::shared_ptr<StoreSnapshot> CopyOf(const QString& path, const Descriptor& file, qint64 size) {
    const QByteArray head = Read(file, 100, path);
    Builder builder(path);
    QStringList notes;
    switch (KindOf(head)) {
        case DataFileKind::Sqlite:
            RequireSqlitePages(path, head, size);
            builder.copyTables(
                QStringLiteral("file:/proc/self/fd/%1?mode=ro&immutable=1").arg(file.fd));
            break;
        case DataFileKind::Access: {
            // The proposals must be read whole; another table that cannot be read is left out.
            AccessImport imported = ImportAccessDatabase(Read(file, size, path), path,
                                                         QString::fromLatin1(kProposalTable));
            notes = std::move(imported.notes);
            builder.copyTables(QStringLiteral(":memory:"), &imported.image);
            break;
        }
        case DataFileKind::Unknown:
            throw StoreError(StoreError::UnrecognizedFormat,
                             QStringLiteral("El archivo «%1» no es una base de datos reconocible: "
                                            "no es un archivo de Access ni de SQLite.")
                                 .arg(path));
    }
    return std::make_shared<StoreSnapshot>(builder.handOver(), path, std::move(notes));
}

}  // namespace

std::shared_ptr<StoreSnapshot> LoadStoreSnapshot(const QString& path) {
    const Descriptor file{OpenForReading(path)};
    if (file.fd < 0) {
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
    if (fstat(file.fd, &info) != 0) {
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
    const FileVersion version = VersionOf(QFileInfo(path).absoluteFilePath(), info);
    if (g_kept.copy && g_kept.version == version) {
        return g_kept.copy;
    }
    // The earlier version's copy can never be reused: let go before the new one is built.
    g_kept = {};
    // The file must be the same version from the first byte read to the last.
    const auto unchanged = [&] {
        struct stat now {};
        return fstat(file.fd, &now) == 0 && VersionOf(version.path, now) == version;
    };
    std::shared_ptr<StoreSnapshot> copy;
    try {
        copy = CopyOf(path, file, info.st_size);
    } catch (const StoreError&) {
        if (unchanged()) {
            throw;
        }
    }
    if (!copy || !unchanged()) {
        throw StoreError(StoreError::FileUnreadable,
                         QStringLiteral("El archivo de datos «%1» cambió mientras se leía; vuelva "
                                        "a intentarlo.")
                             .arg(path));
    }
    g_kept = {version, copy};
    return copy;
}

void ForgetKeptCopy() {
    g_kept = {};
}

}  // namespace ponencias
