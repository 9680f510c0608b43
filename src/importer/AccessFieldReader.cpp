#include "AccessFieldReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "AccessDates.h"
#include "AccessDecimal.h"
#include "AccessLongValue.h"
#include "ImportDatabaseWriter.h"
#include "ImportFailures.h"

namespace ponencias {

namespace {

// The bytes a calculated column (Access 2010 and later) keeps around its value: 16 bytes, the
// value's length (32 bits), the value, and 3 bytes more. A length of 0 is a value Access did
// not compute (its sources were NULL), whatever the result's kind.
constexpr size_t kCalculatedHeader = 20;

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

std::string ReplicationIdText(const unsigned char* b) {
    char text[39];
    std::snprintf(text, sizeof text,
                  "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3],
                  b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return text;
}

AccessFieldReader::AccessFieldReader(MdbHandle* mdb, size_t filePages, size_t budget,
                                     ImportDatabaseWriter& writer, QStringList& notes)
    : mdb_(mdb),
      pageSize_(size_t(mdb->fmt->pg_size)),
      filePages_(filePages),
      budget_(budget),
      writer_(writer),
      notes_(notes),
      text_(mdb->f->jet_version == MDB_VER_JET3, mdb->f->code_page) {
    if (text_.unknownCodePage() != 0) {
        notes_ << QStringLiteral(
                      "El archivo declara la página de códigos %1, que no se conoce; sus textos "
                      "se leen en la de Windows-1252.")
                      .arg(text_.unknownCodePage());
    }
}

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
        throw ValueFailure("un valor sale de los límites de su página");
    }
    const unsigned char* bytes = mdb_->pg_buf + start;
    if (column.calculated) {
        ReadCalculated(index, column, bytes, size_t(size));
    } else if (column.kind == MDB_MEMO) {
        Text(index, LongValue(bytes, size_t(size)));
    } else if (column.kind == MDB_NUMERIC) {
        if (size < 17) {
            throw ValueFailure("un valor decimal está incompleto");
        }
        if (column.scale > AccessDecimal::kMaxScale) {
            Note(column, table, QStringLiteral("escala decimal no válida"));
            return;
        }
        writer_.BindDecimal(index, AccessDecimal::FromStored(bytes, column.scale));
    } else {
        ReadScalar(index, column.kind, bytes, size_t(size));
    }
}

// A memo's text, kept in its row or on other pages.
std::string AccessFieldReader::LongValue(const unsigned char* field, size_t size) {
    if (size < size_t(MDB_MEMO_OVERHEAD)) {
        return std::string();
    }
    const std::vector<unsigned char> stored = ReadLongValue(mdb_, field, size, filePages_);
    Spend(stored.size());
    return text_.Decode(stored.data(), stored.size());
}

// A calculated value comes wrapped; a long text's wrapping is inside its memo value.
void AccessFieldReader::ReadCalculated(int index, AccessColumn& column,
                                       const unsigned char* field, size_t size) {
    std::vector<unsigned char> wrapped;
    if (column.kind == MDB_MEMO) {
        wrapped = ReadLongValue(mdb_, field, size, filePages_);
        Spend(wrapped.size());
    } else {
        wrapped.assign(field, field + size);
    }
    if (wrapped.size() < kCalculatedHeader) {
        return;  // no value computed
    }
    const size_t stored = uint32_t(mdb_get_int32(wrapped.data(), kCalculatedHeader - 4));
    if (stored == 0) {
        return;  // no value computed
    }
    const size_t length = std::min(stored, wrapped.size() - kCalculatedHeader);
    if (length == 0) {
        throw ValueFailure("un valor calculado está incompleto");
    }
    const unsigned char* value = wrapped.data() + kCalculatedHeader;
    switch (column.kind) {
        case MDB_BOOL:
            writer_.BindInteger(index, value[0] != 0 ? 1 : 0);
            break;
        case MDB_NUMERIC: {
            AccessDecimal decimal;
            if (!AccessDecimal::FromCalculated(value, length, decimal)) {
                throw ValueFailure("un valor decimal calculado no se puede descifrar");
            }
            writer_.BindDecimal(index, decimal);
            break;
        }
        case MDB_TEXT:
        case MDB_MEMO:
            Text(index, text_.Decode(value, length));
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
            throw ValueFailure("un valor numérico está incompleto");
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
        case MDB_DATETIME:
            need(8);
            Text(index, AccessDateText(mdb_get_double(data, 0)).toStdString());
            break;
        case kMdbExtendedDateTime: {
            const std::string text = ExtendedDateTimeText(data, size);
            if (text.empty()) {
                throw ValueFailure("un valor de fecha y hora extendida no es válido");
            }
            Text(index, text);
            break;
        }
        case MDB_TEXT:
            Text(index, text_.Decode(data, size));
            break;
        case MDB_REPID:
            need(16);
            Text(index, ReplicationIdText(data));
            break;
        default:
            break;
    }
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

void AccessFieldReader::Text(int index, const std::string& text) {
    Spend(text.size());
    writer_.BindText(index, text.data(), text.size());
}

}  // namespace ponencias
