#include "AccessImport.h"

#include <fcntl.h>
#include <mdbtools.h>
#include <poll.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "JetDialect.h"
#include "StoreError.h"

// Present in libmdb 1.0 but missing from its header.
extern "C" int mdb_unicode2ascii(MdbHandle* mdb, const char* src, size_t slen, char* dest,
                                 size_t dlen);

#if defined(__SANITIZE_ADDRESS__)
#define PONENCIAS_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PONENCIAS_UNDER_ASAN 1
#endif
#endif

namespace ponencias {

namespace {

int g_timeLimitMs = 0;

constexpr char kMagic[4] = {'P', 'M', 'D', 'B'};
enum : char { kResultOk = 'K', kResultError = 'E' };

// A failure found while reading, told in the words the user will see after "está dañado o
// incompleto: ".
struct ImportFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

QString Quoted(const QString& name) {
    QString text = name;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

// ---- Values ---------------------------------------------------------------------------------

// Days from 1970-01-01 to a civil date and back (proleptic Gregorian calendar).
void CivilFromDays(int64_t z, int64_t& year, unsigned& month, unsigned& day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = int64_t(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = y + (month <= 2 ? 1 : 0);
}

QString ShortestFloat(float value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, int(result.ptr - buffer));
}

// A Jet 4 decimal: a sign byte and a 96-bit magnitude (in 32-bit words, most significant first),
// scaled by the column's scale.
bool DecimalValue(const unsigned char* bytes, int scale, double& value) {
    unsigned __int128 magnitude = 0;
    for (int word = 0; word < 4; ++word) {
        uint32_t part = 0;
        std::memcpy(&part, bytes + 1 + 4 * word, 4);
        magnitude = (magnitude << 32) | part;
    }
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + int(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    if (scale > 0) {
        if (int(digits.size()) <= scale) {
            digits.insert(0, size_t(scale - int(digits.size()) + 1), '0');
        }
        digits.insert(digits.size() - size_t(scale), 1, '.');
    }
    if (bytes[0] & 0x80) {
        digits.insert(digits.begin(), '-');
    }
    value = std::strtod(digits.c_str(), nullptr);
    return std::isfinite(value);
}

// ---- Reading one file with libmdb (in the child) ------------------------------------------

class SqliteWriter {
public:
    SqliteWriter() {
        if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK ||
            RegisterJetDialect(db_) != SQLITE_OK) {
            throw ImportFailure("no se pudo crear la copia en memoria");
        }
        Exec("BEGIN");
    }
    ~SqliteWriter() {
        sqlite3_finalize(insert_);
        sqlite3_close(db_);
    }

    void Exec(const QString& sql) {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
            const std::string text = message != nullptr ? message : "";
            sqlite3_free(message);
            throw ImportFailure("no se pudo copiar una tabla (" + text + ")");
        }
    }

    void BeginTable(const QString& name, const QStringList& columns, const QStringList& types) {
        sqlite3_finalize(insert_);
        insert_ = nullptr;
        QStringList definitions;
        QStringList marks;
        for (qsizetype i = 0; i < columns.size(); ++i) {
            definitions << Quoted(columns[i]) + u' ' + types[i] + QStringLiteral(" COLLATE ") +
                               QLatin1String(kJetTextCollation);
            marks << QStringLiteral("?");
        }
        Exec(QStringLiteral("CREATE TABLE %1 (%2)")
                 .arg(Quoted(name), definitions.join(QStringLiteral(", "))));
        const QByteArray insert = QStringLiteral("INSERT INTO %1 VALUES (%2)")
                                      .arg(Quoted(name), marks.join(QStringLiteral(", ")))
                                      .toUtf8();
        if (sqlite3_prepare_v2(db_, insert.constData(), -1, &insert_, nullptr) != SQLITE_OK) {
            throw ImportFailure("no se pudo copiar la tabla " + name.toStdString());
        }
    }

    sqlite3_stmt* row() { return insert_; }

    void EndRow() {
        if (sqlite3_step(insert_) != SQLITE_DONE) {
            throw ImportFailure(std::string("no se pudo copiar una fila (") + sqlite3_errmsg(db_) +
                                ")");
        }
        sqlite3_reset(insert_);
        sqlite3_clear_bindings(insert_);
    }

    QByteArray Finish() {
        sqlite3_finalize(insert_);
        insert_ = nullptr;
        Exec("COMMIT");
        sqlite3_int64 size = 0;
        unsigned char* data = sqlite3_serialize(db_, "main", &size, 0);
        if (data == nullptr && size == 0) {
            return QByteArray();  // a file without user tables
        }
        if (data == nullptr) {
            throw ImportFailure("no se pudo preparar la copia en memoria");
        }
        QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
        sqlite3_free(data);
        return bytes;
    }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
};

const char* ColumnAffinity(int type) {
    switch (type) {
        case MDB_BOOL:
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
        case MDB_COMPLEX:
            return "INTEGER";
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_MONEY:
        case MDB_NUMERIC:
            return "REAL";
        case MDB_BINARY:
        case MDB_OLE:
            return "BLOB";
        default:
            return "TEXT";
    }
}

class AccessReader {
public:
    AccessReader(const QByteArray& bytes) : bytes_(bytes) {
        // Text must come out as UTF-8 and Jet 3 text in the file's own code page, whatever the
        // environment says.
        unsetenv("MDBICONV");
        unsetenv("MDB_ICONV");
        unsetenv("MDB_JET3_CHARSET");
        budget_ = size_t(bytes.size()) * 4 + (64u << 20);
        mdb_ = mdb_open_buffer(const_cast<char*>(bytes_.constData()), size_t(bytes_.size()),
                               MDB_NOFLAGS);
        if (mdb_ == nullptr) {
            throw ImportFailure("la cabecera de Access no es válida");
        }
        pageSize_ = size_t(mdb_->fmt->pg_size);
    }
    ~AccessReader() {
        if (mdb_ != nullptr) {
            mdb_close(mdb_);
        }
    }

    QByteArray Read() {
        // Every Access file lists at least its own system tables in the catalog.
        if (mdb_read_catalog(mdb_, MDB_ANY) == nullptr || mdb_->num_catalog == 0) {
            throw ImportFailure("no se pudo leer el catálogo de objetos");
        }
        SqliteWriter writer;
        for (unsigned i = 0; i < mdb_->num_catalog; ++i) {
            auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb_->catalog, i));
            if (entry->object_type != MDB_TABLE || !mdb_is_user_table(entry)) {
                continue;
            }
            ReadTable(entry, writer);
        }
        return writer.Finish();
    }

private:
    void ReadTable(MdbCatalogEntry* entry, SqliteWriter& writer) {
        const QString tableName = QString::fromUtf8(entry->object_name);
        MdbTableDef* table = mdb_read_table(entry);
        if (table == nullptr) {
            throw ImportFailure("no se pudo leer la definición de la tabla " +
                                tableName.toStdString());
        }
        struct Free {
            MdbTableDef* t;
            ~Free() { mdb_free_tabledef(t); }
        } freeTable{table};
        if (mdb_read_columns(table) == nullptr || table->num_cols == 0 ||
            table->num_cols > MDB_MAX_COLS) {
            throw ImportFailure("no se pudieron leer las columnas de la tabla " +
                                tableName.toStdString());
        }
        QStringList names;
        QStringList types;
        std::vector<MdbColumn*> columns;
        for (unsigned c = 0; c < table->num_cols; ++c) {
            auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
            columns.push_back(column);
            names << QString::fromUtf8(column->name);
            types << QLatin1String(ColumnAffinity(column->col_type));
        }
        writer.BeginTable(tableName, names, types);

        std::vector<MdbField> fields(table->num_cols);
        unsigned long rows = 0;
        mdb_rewind_table(table);
        while (mdb_fetch_row(table)) {
            int start = 0;
            size_t size = 0;
            if (mdb_find_row(mdb_, int(table->cur_row) - 1, &start, &size) != 0) {
                throw ImportFailure("una fila de la tabla " + tableName.toStdString() +
                                    " está fuera de su página");
            }
            start &= 0x1fff;
            const int count = mdb_crack_row(table, start, size, fields.data());
            if (count < 0) {
                throw ImportFailure("una fila de la tabla " + tableName.toStdString() +
                                    " no se puede descifrar");
            }
            sqlite3_stmt* insert = writer.row();
            for (int f = 0; f < count && f < int(table->num_cols); ++f) {
                const MdbField& field = fields[size_t(f)];
                if (field.colnum < 0 || field.colnum >= int(columns.size())) {
                    throw ImportFailure("una fila de la tabla " + tableName.toStdString() +
                                        " nombra una columna inexistente");
                }
                BindValue(insert, field.colnum + 1, *columns[size_t(field.colnum)], field);
            }
            writer.EndRow();
            ++rows;
        }
        // A table whose rows run short of the count its definition keeps was cut off (a file
        // truncated or a page lost): never hand that on as the whole table.
        if (rows != table->num_rows) {
            throw ImportFailure("la tabla " + tableName.toStdString() + " declara " +
                                std::to_string(table->num_rows) + " filas y se leyeron " +
                                std::to_string(rows));
        }
    }

    void Spend(size_t bytes) {
        if (bytes > budget_) {
            throw ImportFailure("el contenido leído excede con mucho el tamaño del archivo");
        }
        budget_ -= bytes;
    }

    void BindText(sqlite3_stmt* insert, int index, const char* text, size_t length) {
        Spend(length);
        sqlite3_bind_text64(insert, index, text, length, SQLITE_TRANSIENT, SQLITE_UTF8);
    }

    void BindValue(sqlite3_stmt* insert, int index, MdbColumn& column, const MdbField& field) {
        const int type = column.col_type;
        if (type == MDB_BOOL) {
            // A yes/no field keeps its value in the null mask: a set bit is "yes".
            sqlite3_bind_int(insert, index, field.is_null ? 0 : 1);
            return;
        }
        if (field.is_null) {
            return;  // stays NULL
        }
        const int start = field.start;
        const int size = field.siz;
        if (start < 0 || size < 0 || size_t(start) + size_t(size) > pageSize_) {
            throw ImportFailure("un valor sale de los límites de su página");
        }
        unsigned char* page = mdb_->pg_buf;
        const auto need = [&](int bytes) {
            if (size < bytes) {
                throw ImportFailure("un valor numérico está incompleto");
            }
        };
        switch (type) {
            case MDB_BYTE:
                need(1);
                sqlite3_bind_int(insert, index, page[start]);
                break;
            case MDB_INT:
                need(2);
                sqlite3_bind_int(insert, index, int16_t(mdb_get_int16(page, start)));
                break;
            case MDB_LONGINT:
            case MDB_COMPLEX:
                need(4);
                sqlite3_bind_int64(insert, index, int32_t(mdb_get_int32(page, start)));
                break;
            case MDB_FLOAT: {
                need(4);
                const float value = mdb_get_single(page, start);
                if (std::isfinite(value)) {
                    sqlite3_bind_double(insert, index, ShortestFloat(value).toDouble());
                }
                break;
            }
            case MDB_DOUBLE: {
                need(8);
                const double value = mdb_get_double(page, start);
                if (std::isfinite(value)) {
                    sqlite3_bind_double(insert, index, value);
                }
                break;
            }
            case MDB_MONEY: {
                need(8);
                int64_t units = 0;
                std::memcpy(&units, page + start, 8);
                sqlite3_bind_double(insert, index, double(units) / 10000.0);
                break;
            }
            case MDB_NUMERIC: {
                need(17);
                double value = 0;
                if (DecimalValue(page + start, column.col_scale, value)) {
                    sqlite3_bind_double(insert, index, value);
                }
                break;
            }
            case MDB_DATETIME: {
                need(8);
                const QByteArray text = AccessDateText(mdb_get_double(page, start)).toUtf8();
                BindText(insert, index, text.constData(), size_t(text.size()));
                break;
            }
            case MDB_TEXT: {
                std::vector<char> text(size_t(size) * 3 + 16);
                const int length = mdb_unicode2ascii(mdb_, reinterpret_cast<char*>(page) + start,
                                                     size_t(size), text.data(), text.size());
                BindText(insert, index, text.data(),
                         std::min(size_t(std::max(length, 0)), text.size() - 1));
                break;
            }
            case MDB_MEMO: {
                if (size < MDB_MEMO_OVERHEAD) {
                    BindText(insert, index, "", 0);
                    break;
                }
                const size_t stored = size_t(mdb_get_int32(page, start)) & 0xffffff;
                // The text of a memo is at most its stored length (or one page) in UTF-16; as
                // UTF-8 it needs at most three bytes for every two.
                const size_t room = std::max(stored, pageSize_) * 3 + 16;
                mdb_set_bind_size(mdb_, room);
                char* text = mdb_col_to_string(mdb_, page, start, MDB_MEMO, size);
                if (text != nullptr) {
                    BindText(insert, index, text, std::strlen(text));
                    g_free(text);
                }
                break;
            }
            case MDB_REPID: {
                need(16);
                char* text = mdb_col_to_string(mdb_, page, start, MDB_REPID, size);
                if (text != nullptr) {
                    BindText(insert, index, text, std::strlen(text));
                    g_free(text);
                }
                break;
            }
            case MDB_BINARY:
                Spend(size_t(size));
                sqlite3_bind_blob64(insert, index, page + start, sqlite3_uint64(size),
                                    SQLITE_TRANSIENT);
                break;
            default:
                // OLE objects (pictures, documents) and unknown kinds carry no value here.
                break;
        }
    }

    const QByteArray& bytes_;
    MdbHandle* mdb_ = nullptr;
    size_t pageSize_ = 4096;
    size_t budget_ = 0;
};

// ---- The child process ---------------------------------------------------------------------

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= size_t(written);
    }
    return true;
}

[[noreturn]] void RunChild(int out, const QByteArray& bytes, int seconds) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // libmdb reports damage on standard error; the parent reports it in its own words.
    const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (devNull >= 0) {
        dup2(devNull, STDERR_FILENO);
        dup2(devNull, STDOUT_FILENO);
    }
    signal(SIGPIPE, SIG_DFL);
    rlimit cpu{rlim_t(seconds), rlim_t(seconds) + 1};
    setrlimit(RLIMIT_CPU, &cpu);
    alarm(unsigned(seconds) + 2);
#if !defined(PONENCIAS_UNDER_ASAN)
    // Damaged pointers can make libmdb ask for ever larger buffers; with its address space
    // bounded the child fails at once instead of thrashing until the time limit. (The address
    // sanitizer reserves terabytes of address space, so its builds go without this bound.)
    const rlim_t memory = (rlim_t(1) << 30) + rlim_t(bytes.size()) * 32;
    rlimit space{memory, memory};
    setrlimit(RLIMIT_AS, &space);
#endif

    char kind = kResultOk;
    QByteArray payload;
    try {
        AccessReader reader(bytes);
        payload = reader.Read();
    } catch (const std::exception& failure) {
        kind = kResultError;
        payload = QByteArray(failure.what());
    }
    const uint64_t length = uint64_t(payload.size());
    const bool ok = WriteAll(out, kMagic, sizeof kMagic) && WriteAll(out, &kind, 1) &&
                    WriteAll(out, reinterpret_cast<const char*>(&length), sizeof length) &&
                    WriteAll(out, payload.constData(), size_t(payload.size()));
    _exit(ok ? 0 : 3);
}

int64_t NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

}  // namespace

QString AccessDateText(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6) {
        return QString::number(value, 'g', QLocale::FloatingPointShortest);
    }
    int64_t days = int64_t(std::trunc(value));
    int64_t seconds = std::llround(std::fabs(value - double(days)) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += 1;
    }
    int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    CivilFromDays(days - 25569, year, month, day);  // 1899-12-30 is 25569 days before 1970
    return QString::asprintf("%04lld-%02u-%02u %02lld:%02lld:%02lld", static_cast<long long>(year),
                             month, day, static_cast<long long>(seconds / 3600),
                             static_cast<long long>(seconds / 60 % 60),
                             static_cast<long long>(seconds % 60));
}

void SetAccessImportTimeLimit(int milliseconds) {
    g_timeLimitMs = milliseconds;
}

QByteArray ImportAccessDatabase(const QByteArray& bytes, const QString& path) {
    const auto corrupt = [&](const QString& why) {
        return StoreError(StoreError::CorruptFile,
                          QStringLiteral("El archivo de datos «%1» está dañado o incompleto: %2.")
                              .arg(path, why));
    };
    // Reading a whole consultation takes well under a second; the default allows 15 seconds
    // and one more per megabyte, so a damaged file is reported before the user gives up.
    const int64_t limitMs =
        g_timeLimitMs > 0 ? g_timeLimitMs : 15000 + int64_t(bytes.size() / (1 << 20)) * 1000;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        throw corrupt(QStringLiteral("no se pudo preparar su lectura (%1)")
                          .arg(QString::fromLocal8Bit(strerror(errno))));
    }
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(fds[0]);
        close(fds[1]);
        throw corrupt(QStringLiteral("no se pudo preparar su lectura (%1)")
                          .arg(QString::fromLocal8Bit(strerror(error))));
    }
    if (child == 0) {
        close(fds[0]);
        RunChild(fds[1], bytes, int((limitMs + 999) / 1000));
    }
    close(fds[1]);

    QByteArray received;
    const int64_t deadline = NowMs() + limitMs;
    bool timedOut = false;
    char buffer[65536];
    for (;;) {
        const int64_t left = deadline - NowMs();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        pollfd poller{fds[0], POLLIN, 0};
        const int ready = poll(&poller, 1, int(std::min<int64_t>(left, 1000)));
        if (ready < 0 && errno != EINTR) {
            break;
        }
        if (ready <= 0) {
            continue;
        }
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        received.append(buffer, qsizetype(got));
    }
    close(fds[0]);
    if (timedOut) {
        kill(child, SIGKILL);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (timedOut) {
        throw corrupt(QStringLiteral("su lectura no terminó en %1 segundos").arg(limitMs / 1000.0));
    }
    if (WIFSIGNALED(status)) {
        throw corrupt(QStringLiteral("su lectura se interrumpió (señal %1)").arg(WTERMSIG(status)));
    }
    constexpr qsizetype kHeader = sizeof kMagic + 1 + sizeof(uint64_t);
    uint64_t length = 0;
    if (received.size() >= kHeader) {
        std::memcpy(&length, received.constData() + sizeof kMagic + 1, sizeof length);
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || received.size() < kHeader ||
        std::memcmp(received.constData(), kMagic, sizeof kMagic) != 0 ||
        uint64_t(received.size() - kHeader) != length) {
        throw corrupt(QStringLiteral("su lectura no llegó a término"));
    }
    const char kind = received.at(sizeof kMagic);
    QByteArray payload = received.mid(kHeader);
    if (kind != kResultOk) {
        throw corrupt(QString::fromUtf8(payload));
    }
    return payload;
}

}  // namespace ponencias
