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
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "JetDialect.h"
#include "StoreError.h"
#include "SystemErrorText.h"

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

// Access 2019's Date/Time Extended, a kind libmdb 1.0 does not name.
constexpr int kExtendedDateTime = 0x14;
constexpr size_t kExtendedDateTimeSize = 42;

// The digits of `count` ASCII characters as a number; false when one is not a digit.
bool AsciiNumber(const unsigned char* text, int count, int64_t& number) {
    number = 0;
    for (int i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        number = number * 10 + (text[i] - '0');
    }
    return true;
}

// A Date/Time Extended value is kept as 42 bytes of text: 19 digits counting the days since
// 0001-01-01, ":", 12 digits counting the seconds since midnight and 7 the ten-millionths of a
// second, then ":7" (the digits after the point) and a NUL. It reads as ISO 8601 text with all
// seven digits of the fraction, so that every value of the column has the same width and the
// texts sort as the moments do. Empty when the bytes do not hold such a value.
std::string ExtendedDateTimeText(const unsigned char* bytes, size_t size) {
    int64_t days = 0;
    int64_t seconds = 0;
    int64_t fraction = 0;
    constexpr int64_t kLastDay = 3652058;  // 9999-12-31
    if (size < kExtendedDateTimeSize || bytes[19] != ':' || !AsciiNumber(bytes, 19, days) ||
        !AsciiNumber(bytes + 20, 12, seconds) || !AsciiNumber(bytes + 32, 7, fraction) ||
        days > kLastDay || seconds >= 86400) {
        return std::string();
    }
    int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    CivilFromDays(days - 719162, year, month, day);  // 0001-01-01 is 719162 days before 1970
    char text[40];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02lld:%02lld:%02lld.%07lld",
                  static_cast<long long>(year), month, day, static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60),
                  static_cast<long long>(fraction));
    return text;
}

// Access keeps decimals of up to 28 digits, at most 28 of them after the point.
constexpr int kMaxDecimalScale = 28;

// A decimal value read exactly: its sign, its digits as one integer, and how many of those digits
// come after the point.
struct Decimal {
    bool negative = false;
    unsigned __int128 magnitude = 0;
    int scale = 0;
};

// The decimal as Access shows it: no trailing zeros after the point, no point before nothing.
std::string DecimalText(const Decimal& decimal) {
    std::string digits;
    unsigned __int128 rest = decimal.magnitude;
    do {
        digits.insert(digits.begin(), char('0' + int(rest % 10)));
        rest /= 10;
    } while (rest != 0);
    if (decimal.scale > 0) {
        if (int(digits.size()) <= decimal.scale) {
            digits.insert(0, size_t(decimal.scale - int(digits.size()) + 1), '0');
        }
        digits.insert(digits.size() - size_t(decimal.scale), 1, '.');
        while (digits.back() == '0') {
            digits.pop_back();
        }
        if (digits.back() == '.') {
            digits.pop_back();
        }
    }
    if (decimal.negative && digits != "0") {
        digits.insert(digits.begin(), '-');
    }
    return digits;
}

// A decimal column's value: a sign byte (0x80 for negative) and a 128-bit magnitude in four
// 32-bit little-endian words, the most significant first.
Decimal StoredDecimal(const unsigned char* bytes, int scale) {
    Decimal decimal;
    decimal.negative = (bytes[0] & 0x80) != 0;
    decimal.scale = scale;
    for (int word = 0; word < 4; ++word) {
        decimal.magnitude =
            (decimal.magnitude << 32) |
            uint32_t(mdb_get_int32(const_cast<unsigned char*>(bytes), 1 + 4 * word));
    }
    return decimal;
}

// A calculated column's decimal: the length of what follows (16 bits), the scale, the sign, then
// the magnitude in 12 or 16 bytes: a leading 32-bit word when the length is not a multiple of 8,
// then 64-bit words, each little-endian, the most significant first. False when it does not fit.
bool CalculatedDecimal(const unsigned char* bytes, size_t size, Decimal& decimal) {
    if (size < 4) {
        return false;
    }
    const int declared = int16_t(mdb_get_int16(const_cast<unsigned char*>(bytes), 0));
    size_t length = size_t(declared > 0 ? declared : int(size) - 2) - 2;
    length = std::min<size_t>(length / 4 * 4, 16);
    if (4 + length > size || length == 0) {
        return false;
    }
    decimal.scale = bytes[2];
    decimal.negative = bytes[3] != 0;
    decimal.magnitude = 0;
    const unsigned char* digits = bytes + 4;
    size_t at = 0;
    if (length % 8 != 0) {
        decimal.magnitude = uint32_t(mdb_get_int32(const_cast<unsigned char*>(digits), 0));
        at = 4;
    }
    for (; at < length; at += 8) {
        uint64_t word = 0;
        std::memcpy(&word, digits + at, 8);
        decimal.magnitude = (decimal.magnitude << 64) | word;
    }
    return decimal.scale <= kMaxDecimalScale;
}

// A decimal is held as the number it is: an integer when it is whole and fits 64 bits, a double
// when the double prints back as exactly the same digits, and otherwise as its exact text, so
// that no digit is ever lost (102030405060.654321 needs more digits than a double keeps).
void BindDecimal(sqlite3_stmt* insert, int index, const Decimal& decimal) {
    const std::string text = DecimalText(decimal);
    int64_t whole = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), whole);
    if (parsed.ec == std::errc() && parsed.ptr == text.data() + text.size()) {
        sqlite3_bind_int64(insert, index, whole);
        return;
    }
    const double value = std::strtod(text.c_str(), nullptr);
    char shortest[64];
    const auto printed =
        std::to_chars(shortest, shortest + sizeof shortest, value, std::chars_format::fixed);
    if (printed.ec == std::errc() && std::string(shortest, printed.ptr) == text) {
        sqlite3_bind_double(insert, index, value);
        return;
    }
    sqlite3_bind_text64(insert, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

// ---- Reading one file with libmdb (in the child) ------------------------------------------

// A table that cannot be read whole; the import goes on without it unless it is PONENCIAS.
struct TableFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

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
            throw TableFailure("no se pudo copiar (" + text + ")");
        }
    }

    // A table is copied whole or not at all.
    void BeginTable(const QString& name, const QStringList& columns, const QStringList& types) {
        sqlite3_finalize(insert_);
        insert_ = nullptr;
        Exec(QStringLiteral("SAVEPOINT tabla"));
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
            throw TableFailure("no se pudo copiar");
        }
    }

    void EndTable() {
        sqlite3_finalize(insert_);
        insert_ = nullptr;
        Exec(QStringLiteral("RELEASE tabla"));
    }

    void AbandonTable() {
        sqlite3_finalize(insert_);
        insert_ = nullptr;
        sqlite3_exec(db_, "ROLLBACK TO tabla; RELEASE tabla", nullptr, nullptr, nullptr);
    }

    sqlite3_stmt* row() { return insert_; }

    void EndRow() {
        if (sqlite3_step(insert_) != SQLITE_DONE) {
            throw TableFailure(std::string("no se pudo copiar una fila (") + sqlite3_errmsg(db_) +
                               ")");
        }
        sqlite3_reset(insert_);
        sqlite3_clear_bindings(insert_);
    }

    QByteArray Finish() {
        sqlite3_finalize(insert_);
        insert_ = nullptr;
        if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
            throw ImportFailure("no se pudo preparar la copia en memoria");
        }
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
            return "INTEGER";
        case MDB_FLOAT:
        case MDB_DOUBLE:
            return "REAL";
        case MDB_MONEY:
        case MDB_NUMERIC:
            // No affinity: each decimal keeps the storage class BindDecimal chose for it.
            return "";
        case MDB_TEXT:
        case MDB_MEMO:
        case MDB_DATETIME:
        case kExtendedDateTime:
        case MDB_REPID:
            return "TEXT";
        default:
            return "";  // read as the empty value
    }
}

// What the store cannot show of a column kind, for the import's notes; null for kinds it reads.
const char* UnreadKind(int type) {
    switch (type) {
        case MDB_OLE:
            return "objeto OLE";
        case MDB_BINARY:
            return "datos binarios";
        case MDB_COMPLEX:
            return "datos adjuntos o de varios valores";
        case MDB_BOOL:
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_MONEY:
        case MDB_NUMERIC:
        case MDB_TEXT:
        case MDB_MEMO:
        case MDB_DATETIME:
        case kExtendedDateTime:
        case MDB_REPID:
            return nullptr;
        default:
            return "tipo desconocido";
    }
}

bool IsUnknownKind(int type) {
    const char* unread = UnreadKind(type);
    return unread != nullptr && std::strcmp(unread, "tipo desconocido") == 0;
}

// The bytes a calculated column (Access 2010 and later) keeps around its value: 16 bytes, the
// value's length (32 bits), the value, and 3 bytes more.
constexpr int kCalculatedHeader = 20;

// How one column of the file is read.
struct ColumnReading {
    MdbColumn* column = nullptr;
    QString name;
    int kind = 0;             // the kind of its values (for a calculated column, of its result)
    bool calculated = false;  // its values were computed by Access from other columns
    int scale = 0;            // digits after the point, for decimals
    bool noted = false;       // the import's notes already name it
};

class AccessReader {
public:
    AccessReader(const QByteArray& bytes, QString requiredTable)
        : bytes_(bytes), requiredTable_(std::move(requiredTable)) {
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
            const QString tableName = QString::fromUtf8(entry->object_name);
            try {
                ReadTable(entry, tableName, writer);
            } catch (const TableFailure& failure) {
                writer.AbandonTable();
                // Only the table the store needs must be read whole; any other is left out.
                if (tableName.compare(requiredTable_, Qt::CaseInsensitive) == 0) {
                    throw ImportFailure("la tabla " + tableName.toStdString() +
                                        " no se puede leer entera (" + failure.what() + ")");
                }
                notes_ << QStringLiteral("La tabla «%1» no se pudo leer y se omite (%2).")
                              .arg(tableName, QString::fromUtf8(failure.what()));
            }
        }
        return writer.Finish();
    }

    const QStringList& notes() const { return notes_; }

private:
    void ReadTable(MdbCatalogEntry* entry, const QString& tableName, SqliteWriter& writer) {
        MdbTableDef* table = mdb_read_table(entry);
        if (table == nullptr) {
            throw TableFailure("no se pudo leer su definición");
        }
        struct Free {
            MdbTableDef* t;
            ~Free() { mdb_free_tabledef(t); }
        } freeTable{table};
        if (mdb_read_columns(table) == nullptr || table->num_cols == 0 ||
            table->num_cols > MDB_MAX_COLS) {
            throw TableFailure("no se pudieron leer sus columnas");
        }
        CheckPagesWithinFile(table, tableName);
        QStringList names;
        QStringList types;
        std::vector<ColumnReading> columns;
        const bool required = tableName.compare(requiredTable_, Qt::CaseInsensitive) == 0;
        for (unsigned c = 0; c < table->num_cols; ++c) {
            auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
            columns.push_back(ReadingOf(column));
            // The required table's values are what the user searches: a column of a kind the
            // import cannot decode would read empty and answer searches wrongly, so the table
            // is refused instead. (OLE, binary and attachment columns hold nothing to search.)
            if (required && IsUnknownKind(columns.back().kind)) {
                throw TableFailure("la columna «" + columns.back().name.toStdString() +
                                   "» es de un tipo desconocido, el número " +
                                   std::to_string(columns.back().kind));
            }
            names << columns.back().name;
            types << QLatin1String(ColumnAffinity(columns.back().kind));
        }
        writer.BeginTable(tableName, names, types);

        // The table definition's row count is not kept exact by Access: every row the data
        // pages hold is read, page by page, and a row that cannot be read is damage (libmdb's
        // own row loop would pass over it in silence). A file cut short is told by its pages,
        // before the rows are read.
        std::vector<MdbField> fields(table->num_cols);
        mdb_rewind_table(table);
        const int countAt = mdb_->fmt->row_count_offset;
        const int maxRows = int(pageSize_ - size_t(countAt) - 2) / 2;
        while (mdb_read_next_dpg(table) != 0) {
            const guint32 page = table->cur_phys_pg;
            const int rows = mdb_get_int16(mdb_->pg_buf, countAt);
            if (rows < 0 || rows > maxRows) {
                throw TableFailure("una página de datos no es válida");
            }
            for (int row = 0; row < rows; ++row) {
                int start = 0;
                size_t size = 0;
                if (mdb_find_row(mdb_, row, &start, &size) != 0) {
                    throw TableFailure("una fila está fuera de su página");
                }
                if ((start & kSkippedRow) != 0) {
                    continue;
                }
                if ((start & kMovedRow) != 0) {
                    // The row was moved to another page (perhaps more than once); its place
                    // keeps where to: the page in the upper 24 bits, the row in the lowest 8.
                    for (int moves = 0; (start & kMovedRow) != 0; ++moves) {
                        if (size < 4 || moves == kMaxMoves) {
                            throw TableFailure("una fila trasladada no dice adónde");
                        }
                        const guint32 target = guint32(mdb_get_int32(mdb_->pg_buf, start & 0x1fff));
                        if (mdb_read_pg(mdb_, target >> 8) != ssize_t(pageSize_) ||
                            mdb_->pg_buf[0] != MDB_PAGE_DATA ||
                            mdb_find_row(mdb_, int(target & 0xff), &start, &size) != 0) {
                            throw TableFailure("una fila trasladada está fuera de su página");
                        }
                    }
                    ReadRow(table, start & 0x1fff, size, columns, tableName, fields, writer);
                    if (mdb_read_pg(mdb_, page) != ssize_t(pageSize_)) {
                        throw TableFailure("una página de datos no se puede releer");
                    }
                    continue;
                }
                ReadRow(table, start & 0x1fff, size, columns, tableName, fields, writer);
            }
        }
        writer.EndTable();
    }

    // A row's place on its page carries two flags. A row that grew too big for its page is
    // moved: its old place keeps a pointer (0x4000) and the row itself, on another page, is
    // flagged as skipped by a scan (0x8000), as a deleted row is, so that each row is read
    // once, where its pointer stands. (libmdb 1.0 reads the two flags the other way round; on
    // the files tried that comes to the same rows in another order.)
    static constexpr int kSkippedRow = 0x8000;
    static constexpr int kMovedRow = 0x4000;
    static constexpr int kMaxMoves = 4;

    void ReadRow(MdbTableDef* table, int start, size_t size, std::vector<ColumnReading>& columns,
                 const QString& tableName, std::vector<MdbField>& fields, SqliteWriter& writer) {
        const int count = mdb_crack_row(table, start, size, fields.data());
        if (count < 0) {
            throw TableFailure("una fila no se puede descifrar");
        }
        sqlite3_stmt* insert = writer.row();
        for (int f = 0; f < count && f < int(table->num_cols); ++f) {
            const MdbField& field = fields[size_t(f)];
            if (field.colnum < 0 || field.colnum >= int(columns.size())) {
                throw TableFailure("una fila nombra una columna inexistente");
            }
            BindValue(insert, field.colnum + 1, columns[size_t(field.colnum)], tableName, field);
        }
        writer.EndRow();
    }

    // A page the table's usage map names beyond the file's end means the file was cut short:
    // the rows on it are lost, so the file is refused whatever table they belong to.
    void CheckPagesWithinFile(MdbTableDef* table, const QString& tableName) {
        if (table->usage_map == nullptr || table->map_sz == 0) {
            return;
        }
        const guint32 pages = guint32(size_t(bytes_.size()) / pageSize_);
        gint32 page = 0;
        for (guint32 seen = 0; seen <= pages; ++seen) {
            const gint32 next =
                mdb_map_find_next(mdb_, table->usage_map, unsigned(table->map_sz), guint32(page));
            if (next <= page) {
                return;  // the map's end, or a kind of map libmdb walks page by page
            }
            if (guint32(next) >= pages) {
                throw ImportFailure("la tabla " + tableName.toStdString() + " ocupa la página " +
                                    std::to_string(next) +
                                    ", más allá del final del archivo; el archivo está cortado");
            }
            page = next;
        }
    }

    ColumnReading ReadingOf(MdbColumn* column) {
        ColumnReading reading;
        reading.column = column;
        reading.name = QString::fromUtf8(column->name);
        reading.kind = column->col_type;
        // libmdb 1.0 keeps the byte of a decimal's precision in col_scale and the byte of its
        // scale in col_prec (checked against files written by Access).
        reading.scale = column->col_prec;
        // A calculated column names its expression; its values are kept as its result type.
        const char* expression = mdb_col_get_prop(column, "Expression");
        if (expression != nullptr && *expression != '\0') {
            reading.calculated = true;
            const char* result = mdb_col_get_prop(column, "ResultType");
            if (result != nullptr) {
                reading.kind = std::atoi(result);
            }
        }
        return reading;
    }

    void Note(ColumnReading& column, const QString& table, const QString& why) {
        if (!column.noted) {
            column.noted = true;
            notes_ << QStringLiteral("La columna «%1» de la tabla «%2» se lee vacía (%3).")
                          .arg(column.name, table, why);
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

    // Text stored as UTF-16 or in Access's compressed form (after 0xFF 0xFE), or in the file's
    // code page in Jet 3.
    void BindStoredText(sqlite3_stmt* insert, int index, const unsigned char* bytes, size_t size) {
        std::vector<char> text(size * 3 + 16);
        const int length = mdb_unicode2ascii(mdb_, reinterpret_cast<const char*>(bytes), size,
                                             text.data(), text.size());
        BindText(insert, index, text.data(),
                 std::min(size_t(std::max(length, 0)), text.size() - 1));
    }

    void BindValue(sqlite3_stmt* insert, int index, ColumnReading& column, const QString& table,
                   const MdbField& field) {
        if (const char* unread = UnreadKind(column.kind)) {
            Note(column, table, QString::fromUtf8(unread));
            return;
        }
        if (column.kind == MDB_BOOL && !column.calculated) {
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
            throw TableFailure("un valor sale de los límites de su página");
        }
        unsigned char* page = mdb_->pg_buf;
        if (!column.calculated) {
            if (column.kind == MDB_MEMO) {
                BindMemo(insert, index, page, start, size);
            } else if (column.kind == MDB_NUMERIC) {
                if (size < 17) {
                    throw TableFailure("un valor numérico está incompleto");
                }
                if (column.scale > kMaxDecimalScale) {
                    Note(column, table, QStringLiteral("escala decimal no válida"));
                    return;
                }
                BindDecimal(insert, index, StoredDecimal(page + start, column.scale));
            } else {
                BindScalar(insert, index, column.kind, page + start, size_t(size));
            }
            return;
        }
        // A calculated value comes wrapped; a long text's wrapping is inside its memo value.
        std::vector<unsigned char> wrapped;
        if (column.kind == MDB_MEMO) {
            if (!LongValue(page + start, size_t(size), wrapped)) {
                Note(column, table, QStringLiteral("texto calculado demasiado largo"));
                return;
            }
        } else {
            wrapped.assign(page + start, page + start + size);
        }
        if (wrapped.size() < size_t(kCalculatedHeader)) {
            return;  // no value computed
        }
        const size_t length =
            std::min(size_t(uint32_t(mdb_get_int32(wrapped.data(), kCalculatedHeader - 4))),
                     wrapped.size() - kCalculatedHeader);
        const unsigned char* value = wrapped.data() + kCalculatedHeader;
        switch (column.kind) {
            case MDB_BOOL:
                if (length >= 1) {
                    sqlite3_bind_int(insert, index, value[0] != 0 ? 1 : 0);
                }
                break;
            case MDB_NUMERIC: {
                Decimal decimal;
                if (!CalculatedDecimal(value, length, decimal)) {
                    throw TableFailure("un valor decimal calculado no se puede descifrar");
                }
                BindDecimal(insert, index, decimal);
                break;
            }
            case MDB_TEXT:
            case MDB_MEMO:
                BindStoredText(insert, index, value, length);
                break;
            default:
                BindScalar(insert, index, column.kind, value, length);
                break;
        }
    }

    // A value of fixed size (or a short text) whose `size` bytes start at `bytes`.
    void BindScalar(sqlite3_stmt* insert, int index, int kind, const unsigned char* bytes,
                    size_t size) {
        auto* data = const_cast<unsigned char*>(bytes);
        const auto need = [&](size_t wanted) {
            if (size < wanted) {
                throw TableFailure("un valor numérico está incompleto");
            }
        };
        switch (kind) {
            case MDB_BYTE:
                need(1);
                sqlite3_bind_int(insert, index, data[0]);
                break;
            case MDB_INT:
                need(2);
                sqlite3_bind_int(insert, index, int16_t(mdb_get_int16(data, 0)));
                break;
            case MDB_LONGINT:
                need(4);
                sqlite3_bind_int64(insert, index, int32_t(mdb_get_int32(data, 0)));
                break;
            case MDB_FLOAT: {
                need(4);
                const float value = mdb_get_single(data, 0);
                if (std::isfinite(value)) {
                    sqlite3_bind_double(insert, index, ShortestFloat(value).toDouble());
                }
                break;
            }
            case MDB_DOUBLE: {
                need(8);
                const double value = mdb_get_double(data, 0);
                if (std::isfinite(value)) {
                    sqlite3_bind_double(insert, index, value);
                }
                break;
            }
            case MDB_MONEY: {
                need(8);
                // Currency is a fixed-point decimal: 64-bit ten-thousandths, read as exactly as
                // any decimal (1000000, not 1e+06).
                int64_t units = 0;
                std::memcpy(&units, data, 8);
                Decimal decimal;
                decimal.negative = units < 0;
                decimal.magnitude = units < 0 ? 0 - uint64_t(units) : uint64_t(units);
                decimal.scale = 4;
                BindDecimal(insert, index, decimal);
                break;
            }
            case MDB_DATETIME: {
                need(8);
                const QByteArray text = AccessDateText(mdb_get_double(data, 0)).toUtf8();
                BindText(insert, index, text.constData(), size_t(text.size()));
                break;
            }
            case kExtendedDateTime: {
                const std::string text = ExtendedDateTimeText(data, size);
                if (text.empty()) {
                    throw TableFailure("un valor de fecha y hora extendida no es válido");
                }
                BindText(insert, index, text.data(), text.size());
                break;
            }
            case MDB_TEXT:
                BindStoredText(insert, index, data, size);
                break;
            case MDB_REPID: {
                need(16);
                // A replication identifier reads as Access shows it, {XXXXXXXX-XXXX-…}.
                char* text = mdb_col_to_string(mdb_, data, 0, MDB_REPID, int(size));
                if (text != nullptr) {
                    BindText(insert, index, text, std::strlen(text));
                    g_free(text);
                }
                break;
            }
            default:
                break;
        }
    }

    void BindMemo(sqlite3_stmt* insert, int index, unsigned char* page, int start, int size) {
        if (size < MDB_MEMO_OVERHEAD) {
            BindText(insert, index, "", 0);
            return;
        }
        const size_t stored = size_t(mdb_get_int32(page, start)) & 0xffffff;
        // The text of a memo is at most its stored length (or one page) in UTF-16; as UTF-8 it
        // needs at most three bytes for every two.
        const size_t room = std::max(stored, pageSize_) * 3 + 16;
        mdb_set_bind_size(mdb_, room);
        char* text = mdb_col_to_string(mdb_, page, start, MDB_MEMO, size);
        if (text != nullptr) {
            BindText(insert, index, text, std::strlen(text));
            g_free(text);
        }
    }

    // The bytes of a memo value kept in its row or on one other page; false for one spread over
    // several pages.
    bool LongValue(const unsigned char* field, size_t size, std::vector<unsigned char>& out) {
        if (size < size_t(MDB_MEMO_OVERHEAD)) {
            return false;
        }
        auto* header = const_cast<unsigned char*>(field);
        const uint32_t flags = uint32_t(mdb_get_int32(header, 0));
        const size_t length = flags & 0x3fffffff;
        if ((flags & 0x80000000u) != 0) {
            out.assign(field + MDB_MEMO_OVERHEAD,
                       field + MDB_MEMO_OVERHEAD + std::min(length, size - MDB_MEMO_OVERHEAD));
            return true;
        }
        if ((flags & 0x40000000u) == 0) {
            return false;
        }
        void* buffer = nullptr;
        int offset = 0;
        size_t found = 0;
        if (mdb_find_pg_row(mdb_, int(mdb_get_int32(header, 4)), &buffer, &offset, &found) != 0) {
            throw TableFailure("un texto largo está fuera de su página");
        }
        offset &= 0x1fff;
        if (size_t(offset) + found > pageSize_) {
            throw TableFailure("un texto largo sale de los límites de su página");
        }
        const auto* bytes = static_cast<const unsigned char*>(buffer) + offset;
        Spend(found);
        out.assign(bytes, bytes + std::min(found, length));
        return true;
    }

    const QByteArray& bytes_;
    QString requiredTable_;  // the one table that must be read whole
    MdbHandle* mdb_ = nullptr;
    size_t pageSize_ = 4096;
    size_t budget_ = 0;
    QStringList notes_;
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

[[noreturn]] void RunChild(int out, const QByteArray& bytes, const QString& requiredTable,
                           int seconds) {
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
        AccessReader reader(bytes, requiredTable);
        const QByteArray image = reader.Read();
        // The database image, then the notes, one a line.
        const uint64_t imageSize = uint64_t(image.size());
        payload = QByteArray(reinterpret_cast<const char*>(&imageSize), sizeof imageSize) + image +
                  reader.notes().join(u'\n').toUtf8();
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

AccessImport ImportAccessDatabase(const QByteArray& bytes, const QString& path,
                                  const QString& requiredTable) {
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
        throw corrupt(
            QStringLiteral("no se pudo preparar su lectura (%1)").arg(SystemErrorText(errno)));
    }
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(fds[0]);
        close(fds[1]);
        throw corrupt(
            QStringLiteral("no se pudo preparar su lectura (%1)").arg(SystemErrorText(error)));
    }
    if (child == 0) {
        close(fds[0]);
        RunChild(fds[1], bytes, requiredTable, int((limitMs + 999) / 1000));
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
    uint64_t imageSize = 0;
    if (payload.size() < qsizetype(sizeof imageSize)) {
        throw corrupt(QStringLiteral("su lectura no llegó a término"));
    }
    std::memcpy(&imageSize, payload.constData(), sizeof imageSize);
    if (imageSize > uint64_t(payload.size()) - sizeof imageSize) {
        throw corrupt(QStringLiteral("su lectura no llegó a término"));
    }
    AccessImport result;
    result.image = payload.mid(sizeof imageSize, qsizetype(imageSize));
    const QString notes = QString::fromUtf8(payload.mid(qsizetype(sizeof imageSize + imageSize)));
    if (!notes.isEmpty()) {
        result.notes = notes.split(u'\n');
    }
    return result;
}

}  // namespace ponencias
