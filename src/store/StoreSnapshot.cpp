#include "StoreSnapshot.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <deque>
#include <mutex>

#include "AccessImport.h"
#include "ImpliedRowOrder.h"
#include "JetDialect.h"
#include "NulLiterals.h"
#include "ProposalTable.h"
#include "StoreError.h"
#include "SystemErrorText.h"

namespace ponencias {

namespace {

// ---- Messages -------------------------------------------------------------------------------

QString SystemReason(int error) {
    return SystemErrorText(error);
}

// The store's own failures in its numbers and words, from SQLite's message for a statement.
StoreError StatementError(const QString& sql, const QString& dataFile, const QString& message) {
    const QString statement = StatementForMessage(sql);
    static const QRegularExpression noTable(QStringLiteral("^no such table: (.*)$"));
    static const QRegularExpression noColumn(QStringLiteral("^no such column: (.*)$"));
    if (const auto match = noTable.match(message); match.hasMatch()) {
        return StoreError(StoreError::TableNotFound,
                          QStringLiteral("No se encuentra la tabla o consulta «%1» en el archivo "
                                         "de datos «%2». Sentencia: «%3».")
                              .arg(match.captured(1), dataFile, statement));
    }
    if (const auto match = noColumn.match(message); match.hasMatch()) {
        return StoreError(StoreError::ColumnNotFound,
                          QStringLiteral("No se encuentra la columna «%1» en el archivo de datos "
                                         "«%2». Sentencia: «%3».")
                              .arg(match.captured(1), dataFile, statement));
    }
    if (message.contains(QLatin1String("syntax error")) ||
        message.contains(QLatin1String("incomplete input")) ||
        message.contains(QLatin1String("unrecognized token"))) {
        return StoreError(
            StoreError::SyntaxError,
            QStringLiteral("Error de sintaxis en la sentencia «%1» (%2).").arg(statement, message));
    }
    if (message.contains(QLatin1String("not authorized")) ||
        message.contains(QLatin1String("readonly")) ||
        message.contains(QLatin1String("query_only"))) {
        return StoreError(StoreError::ReadOnly,
                          QStringLiteral("El almacén de ponencias es de solo lectura; no se "
                                         "admite la sentencia «%1».")
                              .arg(statement));
    }
    return StoreError(
        StoreError::StatementFailed,
        QStringLiteral("No se pudo ejecutar la sentencia «%1» (%2).").arg(statement, message));
}

// ---- Building the copy ----------------------------------------------------------------------

struct Database {
    sqlite3* db = nullptr;
    ~Database() { sqlite3_close(db); }
    sqlite3* release() {
        sqlite3* d = db;
        db = nullptr;
        return d;
    }
};

QString ErrorText(sqlite3* db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// Only reading is allowed once the copy is built: statements run on the copy, and the copy is
// shared by every later opening of the same file version, so it must stay as built.
int ReadOnlyAuthorizer(void*, int action, const char*, const char*, const char*, const char*) {
    switch (action) {
        case SQLITE_SELECT:
        case SQLITE_READ:
        case SQLITE_FUNCTION:
        case SQLITE_RECURSIVE:
            return SQLITE_OK;
        default:
            return SQLITE_DENY;
    }
}

sqlite3* NewDatabase() {
    Database d;
    // URIs are understood so the data file can be attached read-only and immutable.
    if (sqlite3_open_v2(":memory:", &d.db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI,
                        nullptr) != SQLITE_OK ||
        RegisterJetDialect(d.db) != SQLITE_OK) {
        throw StoreError(StoreError::StatementFailed,
                         QStringLiteral("No se pudo crear la copia en memoria del almacén."));
    }
    sqlite3_db_config(d.db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(d.db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    return d.release();
}

void LockDown(sqlite3* db) {
    sqlite3_exec(db, "PRAGMA query_only = 1", nullptr, nullptr, nullptr);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_set_authorizer(db, ReadOnlyAuthorizer, nullptr);
}

// Loads `bytes` (a whole database image) as schema `schema` of `db` without any file behind it.
bool Deserialize(sqlite3* db, const char* schema, const QByteArray& bytes, bool readOnly) {
    auto* image = static_cast<unsigned char*>(sqlite3_malloc64(sqlite3_uint64(bytes.size())));
    if (image == nullptr) {
        return false;
    }
    std::memcpy(image, bytes.constData(), size_t(bytes.size()));
    // A file left in write-ahead-log mode reads as an ordinary one: the image has no log.
    if (bytes.size() > 19 && image[18] == 2 && image[19] == 2) {
        image[18] = image[19] = 1;
    }
    unsigned flags = SQLITE_DESERIALIZE_FREEONCLOSE;
    flags |= readOnly ? SQLITE_DESERIALIZE_READONLY : SQLITE_DESERIALIZE_RESIZEABLE;
    return sqlite3_deserialize(db, schema, image, bytes.size(), bytes.size(), flags) == SQLITE_OK;
}

QString Quoted(const QString& name) {
    QString text = name;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

// The column type that keeps SQLite's affinity for a declared type.
QString AffinityOf(const QString& declared) {
    const QString type = declared.toUpper();
    if (type.contains(QLatin1String("INT"))) {
        return QStringLiteral("INTEGER");
    }
    if (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("CLOB")) ||
        type.contains(QLatin1String("TEXT"))) {
        return QStringLiteral("TEXT");
    }
    if (type.isEmpty() || type.contains(QLatin1String("BLOB"))) {
        return QStringLiteral("BLOB");
    }
    if (type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("FLOA")) ||
        type.contains(QLatin1String("DOUB"))) {
        return QStringLiteral("REAL");
    }
    return QStringLiteral("NUMERIC");
}

std::vector<QStringList> Query(sqlite3* db, const QString& sql, int columns) {
    std::vector<QStringList> rows;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        throw ErrorText(db);
    }
    int rc;
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
        throw ErrorText(db);
    }
    return rows;
}

void Exec(sqlite3* db, const QString& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message);
        sqlite3_free(message);
        throw text;
    }
}

// Copies every table of an SQLite data file into `db`, each column under the dialect's
// collation, so SQLite and Access files answer the same statements the same way.
//
// The file is read in place, page by page through a small cache, so only the copy grows with the
// file's size. It is opened read-only and immutable: SQLite then takes no lock, never looks for or
// creates a journal, log or shared-memory file beside it, and reads a file left in
// write-ahead-log mode as an ordinary one (its log is not part of what the program reads).
void CopySqliteTables(sqlite3* db, const QString& absolutePath) {
    const QString uri = QStringLiteral("file:") +
                        QString::fromLatin1(QUrl::toPercentEncoding(absolutePath, "/")) +
                        QStringLiteral("?mode=ro&immutable=1");
    sqlite3_stmt* attach = nullptr;
    if (sqlite3_prepare_v2(db, "ATTACH ?1 AS source", -1, &attach, nullptr) != SQLITE_OK) {
        sqlite3_finalize(attach);
        throw ErrorText(db);
    }
    const QByteArray uriText = uri.toUtf8();
    sqlite3_bind_text(attach, 1, uriText.constData(), int(uriText.size()), SQLITE_TRANSIENT);
    const int attached = sqlite3_step(attach);
    sqlite3_finalize(attach);
    if (attached != SQLITE_DONE) {
        throw ErrorText(db);
    }
    const auto check = Query(db, QStringLiteral("PRAGMA source.quick_check"), 1);
    if (check.empty() || check.front().value(0) != QLatin1String("ok")) {
        throw check.empty() ? QStringLiteral("sin resultado de comprobación")
                            : check.front().value(0);
    }
    const auto tables = Query(db,
                              QStringLiteral("SELECT name, coalesce(sql, '') FROM "
                                             "source.sqlite_schema WHERE type = 'table' AND "
                                             "substr(name, 1, 7) <> 'sqlite_'"),
                              2);
    Exec(db, QStringLiteral("BEGIN"));
    for (const QStringList& table : tables) {
        if (table[1].trimmed().startsWith(QLatin1String("CREATE VIRTUAL"), Qt::CaseInsensitive)) {
            continue;
        }
        const auto columns =
            Query(db, QStringLiteral("PRAGMA source.table_info(%1)").arg(Quoted(table[0])), 3);
        QStringList definitions;
        QStringList names;
        for (const QStringList& column : columns) {
            definitions << Quoted(column[1]) + u' ' + AffinityOf(column[2]) +
                               QStringLiteral(" COLLATE ") + QLatin1String(kJetTextCollation);
            names << Quoted(column[1]);
        }
        if (names.isEmpty()) {
            continue;
        }
        Exec(db, QStringLiteral("CREATE TABLE main.%1 (%2)")
                     .arg(Quoted(table[0]), definitions.join(QStringLiteral(", "))));
        Exec(db, QStringLiteral("INSERT INTO main.%1 SELECT %2 FROM source.%1")
                     .arg(Quoted(table[0]), names.join(QStringLiteral(", "))));
    }
    Exec(db, QStringLiteral("COMMIT"));
    Exec(db, QStringLiteral("DETACH source"));
}

struct FileVersion {
    QString path;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileVersion& other) const {
        return path == other.path && device == other.device && inode == other.inode &&
               size == other.size && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec &&
               changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
    }
};

FileVersion VersionOf(const QString& path, const struct stat& info) {
    return {path, info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

struct CacheEntry {
    FileVersion version;
    std::shared_ptr<StoreSnapshot> snapshot;  // null once only `inUse` finds it
    std::weak_ptr<StoreSnapshot> inUse;

    std::shared_ptr<StoreSnapshot> find() const { return snapshot ? snapshot : inUse.lock(); }
};

// The copies kept for reuse, most recent first: at most kCacheSize of them, and beyond the most
// recent one no more than kCacheBytes of data files in all, so a long session that opens many
// files, or large ones, holds a bounded amount of memory. A copy still in use by a connection
// lives on until that connection lets it go.
std::mutex g_cacheMutex;
std::deque<CacheEntry> g_cache;
constexpr size_t kCacheSize = 4;
constexpr qint64 kCacheBytes = qint64(256) << 20;
// The copy of a data file larger than this is shared while a connection uses it but not kept
// once none does: a hundred megabytes held between two searches would outweigh the third of a
// second it takes to read such a file again. The real database is a few megabytes.
constexpr qint64 kKeepUnusedBytes = qint64(64) << 20;
qint64 g_keepUnusedBytes = kKeepUnusedBytes;

void TrimCache() {
    std::erase_if(g_cache, [](const CacheEntry& entry) { return !entry.find(); });
    qint64 bytes = 0;
    size_t kept = 0;
    while (kept < g_cache.size()) {
        CacheEntry& entry = g_cache[kept];
        if (qint64(entry.version.size) > g_keepUnusedBytes && entry.snapshot) {
            entry.inUse = entry.snapshot;
            entry.snapshot.reset();
        }
        bytes += entry.snapshot ? qint64(entry.version.size) : 0;
        if (kept > 0 && (kept >= kCacheSize || bytes > kCacheBytes)) {
            break;
        }
        ++kept;
    }
    g_cache.resize(kept);
}

class OpenFile {
public:
    explicit OpenFile(int fd) : fd_(fd) {}
    ~OpenFile() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    int fd() const { return fd_; }

private:
    int fd_;
};

StoreError CorruptError(const QString& path, const QString& why) {
    return StoreError(
        StoreError::CorruptFile,
        QStringLiteral("El archivo de datos «%1» está dañado o incompleto: %2.").arg(path, why));
}

StoreError ChangedWhileReadError(const QString& path) {
    return StoreError(StoreError::FileUnreadable,
                      QStringLiteral("El archivo de datos «%1» cambió mientras se leía; vuelva a "
                                     "intentarlo.")
                          .arg(path));
}

// The copy of an SQLite data file of `size` bytes whose first bytes are `head`.
std::shared_ptr<StoreSnapshot> BuildSqliteSnapshot(const QString& path, const QString& readPath,
                                                   const QByteArray& head, qint64 size) {
    // The header names the page size and, when its count is current, the page count: a file
    // that ends inside a page or before its last page was cut off.
    const qsizetype header = 100;
    if (head.size() < header) {
        throw CorruptError(path, QStringLiteral("termina antes del final de su cabecera"));
    }
    const auto byteAt = [&](int at) { return unsigned(uchar(head.at(at))); };
    const unsigned pageField = byteAt(16) << 8 | byteAt(17);
    const qint64 pageSize = pageField == 1 ? 65536 : qint64(pageField);
    const quint32 pages =
        quint32(byteAt(28)) << 24 | byteAt(29) << 16 | byteAt(30) << 8 | byteAt(31);
    const bool pagesCurrent = head.mid(24, 4) == head.mid(92, 4) && pages != 0;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0 || size % pageSize != 0 ||
        (pagesCurrent && size < qint64(pages) * pageSize)) {
        throw CorruptError(path, QStringLiteral("su tamaño (%1 bytes) no corresponde a las "
                                                "páginas que declara; el archivo está cortado")
                                     .arg(size));
    }
    Database d;
    d.db = NewDatabase();
    try {
        CopySqliteTables(d.db, readPath);
    } catch (const QString& why) {
        throw CorruptError(path, why);
    }
    LockDown(d.db);
    return std::make_shared<StoreSnapshot>(d.release(), path);
}

// The copy of an Access data file, read whole into `bytes` (which it lets go of as soon as the
// import no longer needs them).
std::shared_ptr<StoreSnapshot> BuildAccessSnapshot(const QString& path, QByteArray bytes) {
    const bool jet3 = bytes.at(0x14) == 0;
    const qsizetype pageSize = jet3 ? 2048 : 4096;
    if (bytes.size() < 3 * pageSize) {
        throw CorruptError(path, QStringLiteral("con %1 bytes es demasiado corto para un archivo "
                                                "de Access; el archivo está cortado")
                                     .arg(bytes.size()));
    }
    if (bytes.size() % pageSize != 0) {
        throw CorruptError(path, QStringLiteral("su tamaño (%1 bytes) no es un número entero de "
                                                "páginas de %2 bytes; el archivo está cortado")
                                     .arg(bytes.size())
                                     .arg(pageSize));
    }
    Database d;
    d.db = NewDatabase();
    // The proposals must be read whole; another table that cannot be read is left out.
    AccessImport imported = ImportAccessDatabase(bytes, path, QString::fromLatin1(kProposalTable));
    bytes = QByteArray();
    if (!imported.image.isEmpty() && !Deserialize(d.db, "main", imported.image, false)) {
        throw CorruptError(path, ErrorText(d.db));
    }
    LockDown(d.db);
    return std::make_shared<StoreSnapshot>(d.release(), path, std::move(imported.notes));
}

StoreError ReadError(const QString& path, int error) {
    return StoreError(StoreError::FileUnreadable,
                      QStringLiteral("No se puede leer el archivo de datos «%1»: %2.")
                          .arg(path, SystemReason(error)));
}

// Up to `size` bytes of the open file from its start; fewer only when the file is shorter.
QByteArray ReadStart(int fd, const QString& path, qint64 size) {
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t got = pread(fd, bytes.data() + done, size_t(bytes.size() - done), done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw ReadError(path, errno);
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    bytes.truncate(done);
    return bytes;
}

}  // namespace

QString StatementForMessage(const QString& sql) {
    constexpr qsizetype kShown = 300;
    const QString trimmed = sql.trimmed();
    if (trimmed.size() <= kShown) {
        return trimmed;
    }
    return trimmed.left(kShown) + QStringLiteral("…");
}

DataFileKind DataFileKindOf(const QByteArray& head) {
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

StoreSnapshot::StoreSnapshot(sqlite3* db, QString dataFile, QStringList importNotes)
    : db_(db), dataFile_(std::move(dataFile)), importNotes_(std::move(importNotes)) {}

StoreSnapshot::~StoreSnapshot() {
    sqlite3_close(db_);
}

sqlite3_stmt* StoreSnapshot::Prepare(const QString& sql) const {
    const QString written = WithNulLiterals(sql);
    const QByteArray text = written.toUtf8();
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v3(db_, text.constData(), int(text.size()), 0, &statement, &tail) !=
        SQLITE_OK) {
        const QString message = ErrorText(db_);
        sqlite3_finalize(statement);
        throw StatementError(sql, dataFile_, message);
    }
    if (statement == nullptr) {
        throw StoreError(
            StoreError::SyntaxError,
            QStringLiteral("La sentencia «%1» está vacía.").arg(StatementForMessage(sql)));
    }
    struct Finalize {
        sqlite3_stmt* s;
        ~Finalize() { sqlite3_finalize(s); }
    } finalize{statement};
    // One statement per call: text after it (a second statement) is refused, not ignored.
    QByteArray rest(tail, qsizetype(text.constData() + text.size() - tail));
    rest = rest.trimmed();
    if (rest.startsWith(';')) {
        rest = rest.mid(1).trimmed();
    }
    if (!rest.isEmpty()) {
        throw StoreError(StoreError::SyntaxError,
                         QStringLiteral("Hay caracteres después del final de la sentencia «%1».")
                             .arg(StatementForMessage(sql)));
    }
    if (!sqlite3_stmt_readonly(statement)) {
        throw StatementError(sql, dataFile_, QStringLiteral("not authorized"));
    }
    // A distinct result that asks for no order comes sorted, as the engine the statements are
    // written for gives it. Should the ordered text not compile, the statement runs as written.
    const ImpliedRowOrder order(written);
    const int columns = sqlite3_column_count(statement);
    if (order.applies() && columns > 0) {
        const QByteArray ordered = order.orderedStatement(columns).toUtf8();
        sqlite3_stmt* sorted = nullptr;
        if (sqlite3_prepare_v3(db_, ordered.constData(), int(ordered.size()), 0, &sorted,
                               nullptr) == SQLITE_OK &&
            sorted != nullptr) {
            return sorted;
        }
        sqlite3_finalize(sorted);
    }
    finalize.s = nullptr;
    return statement;
}

StoreError StoreSnapshot::StatementFailure(const QString& sql) const {
    return StatementError(sql, dataFile_, ErrorText(db_));
}

void SetKeptCopyLimitForTesting(qint64 bytes) {
    std::lock_guard lock(g_cacheMutex);
    g_keepUnusedBytes = bytes > 0 ? bytes : kKeepUnusedBytes;
}

void ClearStoreSnapshotCache() {
    std::lock_guard lock(g_cacheMutex);
    g_cache.clear();
}

std::shared_ptr<StoreSnapshot> LoadStoreSnapshot(const QString& path) {
    if (path.isEmpty()) {
        throw StoreError(StoreError::FileNotFound,
                         QStringLiteral("No se indicó el archivo de datos."));
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QByteArray native = QFile::encodeName(path);
    // Non-blocking, so a named pipe put in the file's place cannot stall the opening.
    int fd = open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOATIME);
    if (fd < 0 && errno == EPERM) {
        fd = open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    }
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) {
            throw StoreError(StoreError::FileNotFound,
                             QStringLiteral("No se encuentra el archivo de datos «%1».").arg(path));
        }
        throw StoreError(StoreError::FileUnreadable,
                         QStringLiteral("No se puede abrir el archivo de datos «%1» para leerlo: "
                                        "%2.")
                             .arg(path, SystemReason(error)));
    }
    OpenFile file(fd);
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        throw StoreError(StoreError::FileUnreadable,
                         QStringLiteral("No se puede leer el archivo de datos «%1»: %2.")
                             .arg(path, SystemReason(errno)));
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
    const FileVersion version = VersionOf(absolute, info);
    {
        std::lock_guard lock(g_cacheMutex);
        for (auto it = g_cache.begin(); it != g_cache.end(); ++it) {
            if (it->version == version) {
                CacheEntry entry = *it;
                g_cache.erase(it);
                if (std::shared_ptr<StoreSnapshot> found = entry.find()) {
                    g_cache.push_front(entry);
                    return found;
                }
                break;
            }
        }
    }
    if (info.st_size == 0) {
        throw StoreError(StoreError::UnrecognizedFormat,
                         QStringLiteral("El archivo de datos «%1» está vacío.").arg(path));
    }
    if (info.st_size > (off_t(1) << 31)) {
        throw StoreError(StoreError::UnrecognizedFormat,
                         QStringLiteral("El archivo «%1» es demasiado grande (%2 bytes) para ser "
                                        "un archivo de datos.")
                             .arg(path)
                             .arg(qint64(info.st_size)));
    }
    // SQLite is given the name as it was given, only made absolute (not tidied, which could change
    // what a ".." after a link leads to).
    const QString readPath = QDir::isAbsolutePath(path) ? path : QDir::currentPath() + u'/' + path;
    // The file must read as one version from start to end: its identity, size and times are the
    // same after the reading as before, and the name SQLite read it by still leads to it.
    const auto unchanged = [&] {
        struct stat now {};
        struct stat named {};
        return fstat(fd, &now) == 0 && VersionOf(absolute, now) == version &&
               stat(QFile::encodeName(readPath).constData(), &named) == 0 &&
               VersionOf(absolute, named) == version;
    };
    {
        // The copies of this file's earlier versions can never be reused: a file's change time
        // only moves on. Letting them go first means the new copy is not built beside them.
        std::lock_guard lock(g_cacheMutex);
        std::erase_if(g_cache,
                      [&](const CacheEntry& entry) { return entry.version.path == absolute; });
    }
    const QByteArray head = ReadStart(fd, path, 100);
    std::shared_ptr<StoreSnapshot> snapshot;
    switch (DataFileKindOf(head)) {
        case DataFileKind::Sqlite:
            try {
                snapshot = BuildSqliteSnapshot(path, readPath, head, qint64(info.st_size));
            } catch (const StoreError&) {
                if (!unchanged()) {
                    throw ChangedWhileReadError(path);
                }
                throw;
            }
            if (!unchanged()) {
                throw ChangedWhileReadError(path);
            }
            break;
        case DataFileKind::Access: {
            QByteArray bytes = ReadStart(fd, path, qint64(info.st_size));
            if (bytes.size() != qsizetype(info.st_size) || !unchanged()) {
                throw ChangedWhileReadError(path);
            }
            snapshot = BuildAccessSnapshot(path, std::move(bytes));
            break;
        }
        case DataFileKind::Unknown:
            throw StoreError(StoreError::UnrecognizedFormat,
                             QStringLiteral("El archivo «%1» no es una base de datos reconocible: "
                                            "no es un archivo de Access ni de SQLite.")
                                 .arg(path));
    }
    std::lock_guard lock(g_cacheMutex);
    g_cache.push_front({version, snapshot, {}});
    TrimCache();
    return snapshot;
}

}  // namespace ponencias
