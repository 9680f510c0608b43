#include "Recordset.h"

#include <sqlite3.h>

#include "StoreError.h"
#include "StoreSnapshot.h"

namespace ponencias {

void Connection::Open(const QString& dataFile) {
    // A connection opened again lets its earlier file go first, as a new one would.
    snapshot_.reset();
    snapshot_ = LoadStoreSnapshot(dataFile);
}

void Recordset::Open(const QString& sql, const Connection& connection) {
    Close();
    if (!connection.isOpen()) {
        throw StoreError(StoreError::NotOpen,
                         QStringLiteral("No se permite la operación: la conexión con el archivo "
                                        "de datos está cerrada (sentencia «%1»).")
                             .arg(StatementForMessage(sql)));
    }
    statement_ = connection.snapshot()->Prepare(sql);
    snapshot_ = connection.snapshot();
    sql_ = sql;
    count_ = -1;
    for (int c = 0; c < sqlite3_column_count(statement_); ++c) {
        columns_ << QString::fromUtf8(sqlite3_column_name(statement_, c));
    }
    position_ = -1;
    step();
}

void Recordset::Close() {
    sqlite3_finalize(statement_);
    statement_ = nullptr;
    snapshot_.reset();
    columns_.clear();
    current_ = Field();
}

void Recordset::step() {
    const int rc = sqlite3_step(statement_);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        const StoreError failure = snapshot_->StatementFailure(sql_);
        Close();
        throw failure;
    }
    ++position_;
    atEnd_ = rc == SQLITE_DONE;
}

void Recordset::requireOpen() const {
    if (statement_ == nullptr) {
        throw StoreError(StoreError::NotOpen,
                         QStringLiteral("No se permite la operación: el conjunto de registros "
                                        "está cerrado."));
    }
}

void Recordset::MoveFirst() {
    requireOpen();
    if (position_ != 0) {
        sqlite3_reset(statement_);
        position_ = -1;
        step();
    }
}

void Recordset::MoveNext() {
    if (Eof()) {
        throw StoreError(StoreError::NoCurrentRecord,
                         QStringLiteral("No hay registro activo: el conjunto de registros ya "
                                        "está después del último."));
    }
    step();
}

bool Recordset::Bof() const {
    requireOpen();
    // There is no moving backwards, so the recordset is before its first row only when it has
    // none.
    return atEnd_ && position_ == 0;
}

bool Recordset::Eof() const {
    requireOpen();
    return atEnd_;
}

long Recordset::RecordCount() const {
    requireOpen();
    if (count_ < 0) {
        count_ = snapshot_->Count(sql_);
    }
    return count_;
}

const Field& Recordset::Fields(const QString& name) const {
    requireOpen();
    qsizetype column = columns_.indexOf(name);
    for (qsizetype c = 0; c < columns_.size() && column < 0; ++c) {
        column = columns_[c].compare(name, Qt::CaseInsensitive) == 0 ? c : -1;
    }
    if (column < 0) {
        throw StoreError(StoreError::ColumnNotFound,
                         QStringLiteral("No se encuentra el campo «%1» en el resultado (campos: "
                                        "%2).")
                             .arg(name, columns_.join(QStringLiteral(", "))));
    }
    current_.Name = columns_[column];
    current_.Value = value(int(column));
    return current_;
}

void Recordset::requireValue(int column) const {
    requireOpen();
    if (column < 0 || column >= columns_.size()) {
        throw StoreError(
            StoreError::ColumnNotFound,
            QStringLiteral("No se encuentra el campo número %1 en el resultado.").arg(column));
    }
    if (Eof()) {
        throw StoreError(StoreError::NoCurrentRecord,
                         QStringLiteral("No hay registro activo para leer el campo «%1».")
                             .arg(columns_[column]));
    }
}

QVariant Recordset::value(int column) const {
    requireValue(column);
    const auto bytes = [&] { return qsizetype(sqlite3_column_bytes(statement_, column)); };
    switch (sqlite3_column_type(statement_, column)) {
        case SQLITE_INTEGER:
            return qlonglong(sqlite3_column_int64(statement_, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(statement_, column);
        case SQLITE_TEXT:
            return QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement_, column)), bytes());
        case SQLITE_BLOB:
            return QByteArray(static_cast<const char*>(sqlite3_column_blob(statement_, column)),
                              bytes());
        default:
            return QVariant();
    }
}

QByteArray Recordset::text(int column) const {
    requireValue(column);
    if (sqlite3_column_type(statement_, column) == SQLITE_FLOAT) {
        return ValueText(value(column)).toUtf8();  // SQLite writes reals otherwise than Qt
    }
    // Null as nothing, an integer in decimal, a text or a binary value as its bytes: SQLite's
    // own, ended by a NUL, not copied.
    return QByteArray::fromRawData(
        reinterpret_cast<const char*>(sqlite3_column_text(statement_, column)),
        sqlite3_column_bytes(statement_, column));
}

QString Field::Text() const {
    return ValueText(Value);
}

QString ValueText(const QVariant& value) {
    // Qt writes a real in its shortest exact form, and a binary value as the text its bytes spell,
    // as a text field would be read.
    return value.isNull() ? QString() : value.toString();
}

}  // namespace ponencias
