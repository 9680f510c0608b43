#include "AccessFieldReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "AccessDates.h"
#include "AccessDecimal.h"
#include "ImportDatabaseWriter.h"
#include "ImportFailures.h"

// Present in libmdb 1.0 but missing from its header.
extern "C" int mdb_unicode2ascii(MdbHandle* mdb, const char* src, size_t slen, char* dest,
                                 size_t dlen);

namespace ponencias {

namespace {

// The bytes a calculated column (Access 2010 and later) keeps around its value: 16 bytes, the
// value's length (32 bits), the value, and 3 bytes more.
constexpr int kCalculatedHeader = 20;

// A single-precision number as the shortest decimal that reads back as it (0.1, not
// 0.100000001490116).
double ShortestFloat(float value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    double shortest = 0;
    std::from_chars(buffer, result.ptr, shortest);
    return shortest;
}

}  // namespace

AccessFieldReader::AccessFieldReader(MdbHandle* mdb, size_t budget, ImportDatabaseWriter& writer,
                                     QStringList& notes)
    : mdb_(mdb),
      pageSize_(size_t(mdb->fmt->pg_size)),
      budget_(budget),
      writer_(writer),
      notes_(notes) {}

void AccessFieldReader::Read(int index, AccessColumn& column, const QString& table,
                             const MdbField& field) {
    if (column.ReadsEmpty()) {
        Note(column, table, column.EmptyReason());
        return;
    }
    if (column.kind == MDB_BOOL && !column.calculated) {
        // A yes/no field keeps its value in the null mask: a set bit is "yes".
        writer_.BindInteger(index, field.is_null ? 0 : 1);
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
    if (column.calculated) {
        ReadCalculated(index, column, table, start, size);
    } else if (column.kind == MDB_MEMO) {
        ReadMemo(index, page, start, size);
    } else if (column.kind == MDB_NUMERIC) {
        if (size < 17) {
            throw TableFailure("un valor numérico está incompleto");
        }
        if (column.scale > AccessDecimal::kMaxScale) {
            Note(column, table, QStringLiteral("escala decimal no válida"));
            return;
        }
        writer_.BindDecimal(index, AccessDecimal::FromStored(page + start, column.scale));
    } else {
        ReadScalar(index, column.kind, page + start, size_t(size));
    }
}

// A calculated value comes wrapped; a long text's wrapping is inside its memo value.
void AccessFieldReader::ReadCalculated(int index, AccessColumn& column, const QString& table,
                                       int start, int size) {
    const unsigned char* page = mdb_->pg_buf;
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
                writer_.BindInteger(index, value[0] != 0 ? 1 : 0);
            }
            break;
        case MDB_NUMERIC: {
            AccessDecimal decimal;
            if (!AccessDecimal::FromCalculated(value, length, decimal)) {
                throw TableFailure("un valor decimal calculado no se puede descifrar");
            }
            writer_.BindDecimal(index, decimal);
            break;
        }
        case MDB_TEXT:
        case MDB_MEMO:
            StoredText(index, value, length);
            break;
        default:
            ReadScalar(index, column.kind, value, length);
            break;
    }
}

// A value of fixed size (or a short text) whose `size` bytes start at `bytes`.
void AccessFieldReader::ReadScalar(int index, int kind, const unsigned char* bytes, size_t size) {
    auto* data = const_cast<unsigned char*>(bytes);
    const auto need = [&](size_t wanted) {
        if (size < wanted) {
            throw TableFailure("un valor numérico está incompleto");
        }
    };
    switch (kind) {
        case MDB_BYTE:
            need(1);
            writer_.BindInteger(index, data[0]);
            break;
        case MDB_INT:
            need(2);
            writer_.BindInteger(index, int16_t(mdb_get_int16(data, 0)));
            break;
        case MDB_LONGINT:
            need(4);
            writer_.BindInteger(index, int32_t(mdb_get_int32(data, 0)));
            break;
        case MDB_FLOAT:
            need(4);
            if (const float value = mdb_get_single(data, 0); std::isfinite(value)) {
                writer_.BindReal(index, ShortestFloat(value));
            }
            break;
        case MDB_DOUBLE:
            need(8);
            if (const double value = mdb_get_double(data, 0); std::isfinite(value)) {
                writer_.BindReal(index, value);
            }
            break;
        case MDB_MONEY: {
            need(8);
            // Currency is a fixed-point decimal, read as exactly as any decimal (1000000, not
            // 1e+06).
            int64_t units = 0;
            std::memcpy(&units, data, 8);
            writer_.BindDecimal(index, AccessDecimal::FromCurrency(units));
            break;
        }
        case MDB_DATETIME: {
            need(8);
            const QByteArray text = AccessDateText(mdb_get_double(data, 0)).toUtf8();
            Text(index, text.constData(), size_t(text.size()));
            break;
        }
        case kMdbExtendedDateTime: {
            const std::string text = ExtendedDateTimeText(data, size);
            if (text.empty()) {
                throw TableFailure("un valor de fecha y hora extendida no es válido");
            }
            Text(index, text.data(), text.size());
            break;
        }
        case MDB_TEXT:
            StoredText(index, data, size);
            break;
        case MDB_REPID: {
            need(16);
            // A replication identifier reads as Access shows it, {XXXXXXXX-XXXX-…}.
            char* text = mdb_col_to_string(mdb_, data, 0, MDB_REPID, int(size));
            if (text != nullptr) {
                Text(index, text, std::strlen(text));
                g_free(text);
            }
            break;
        }
        default:
            break;
    }
}

void AccessFieldReader::ReadMemo(int index, unsigned char* page, int start, int size) {
    if (size < MDB_MEMO_OVERHEAD) {
        Text(index, "", 0);
        return;
    }
    const size_t stored = size_t(mdb_get_int32(page, start)) & 0xffffff;
    // The text of a memo is at most its stored length (or one page) in UTF-16; as UTF-8 it
    // needs at most three bytes for every two.
    const size_t room = std::max(stored, pageSize_) * 3 + 16;
    mdb_set_bind_size(mdb_, room);
    char* text = mdb_col_to_string(mdb_, page, start, MDB_MEMO, size);
    if (text != nullptr) {
        Text(index, text, std::strlen(text));
        g_free(text);
    }
}

// The bytes of a memo value kept in its row or on one other page; false for one spread over
// several pages.
bool AccessFieldReader::LongValue(const unsigned char* field, size_t size,
                                  std::vector<unsigned char>& out) {
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

void AccessFieldReader::Note(AccessColumn& column, const QString& table, const QString& why) {
    if (!column.noted) {
        column.noted = true;
        notes_ << QStringLiteral("La columna «%1» de la tabla «%2» se lee vacía (%3).")
                      .arg(column.name, table, why);
    }
}

void AccessFieldReader::Spend(size_t bytes) {
    if (bytes > budget_) {
        throw ImportFailure("el contenido leído excede con mucho el tamaño del archivo");
    }
    budget_ -= bytes;
}

void AccessFieldReader::Text(int index, const char* text, size_t length) {
    Spend(length);
    writer_.BindText(index, text, length);
}

// Text stored as UTF-16 or in Access's compressed form (after 0xFF 0xFE), or in the file's
// code page in Jet 3.
void AccessFieldReader::StoredText(int index, const unsigned char* bytes, size_t size) {
    std::vector<char> text(size * 3 + 16);
    const int length = mdb_unicode2ascii(mdb_, reinterpret_cast<const char*>(bytes), size,
                                         text.data(), text.size());
    Text(index, text.data(), std::min(size_t(std::max(length, 0)), text.size() - 1));
}

}  // namespace ponencias
