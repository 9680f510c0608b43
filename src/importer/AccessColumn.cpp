#include "AccessColumn.h"

#include <cstdlib>

namespace ponencias {

namespace {

bool IsReadKind(int kind) {
    switch (kind) {
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
        case kMdbExtendedDateTime:
        case MDB_REPID:
            return true;
        default:
            return false;
    }
}

}  // namespace

AccessColumn AccessColumn::Of(MdbColumn* column) {
    AccessColumn reading;
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

QLatin1String AccessColumn::Affinity() const {
    switch (kind) {
        case MDB_BOOL:
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
            return QLatin1String("INTEGER");
        case MDB_FLOAT:
        case MDB_DOUBLE:
            return QLatin1String("REAL");
        case MDB_TEXT:
        case MDB_MEMO:
        case MDB_DATETIME:
        case kMdbExtendedDateTime:
        case MDB_REPID:
            return QLatin1String("TEXT");
        default:
            // Decimals and currency: each value keeps the storage class BindDecimal chose for
            // it. Other kinds read as the empty value.
            return QLatin1String("");
    }
}

bool AccessColumn::KindUnknown() const {
    return !IsReadKind(kind) && kind != MDB_OLE && kind != MDB_BINARY && kind != MDB_COMPLEX;
}

QString AccessColumn::EmptyReason() const {
    switch (kind) {
        case MDB_OLE:
            return QStringLiteral("objeto OLE");
        case MDB_BINARY:
            return QStringLiteral("datos binarios");
        case MDB_COMPLEX:
            return QStringLiteral("datos adjuntos o de varios valores");
        default:
            return IsReadKind(kind) ? QString() : QStringLiteral("tipo desconocido");
    }
}

}  // namespace ponencias
