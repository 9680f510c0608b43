#include "Recordset.h"

#include <QLocale>

#include "Connection.h"
#include "ResultRows.h"
#include "StoreError.h"
#include "StoreSnapshot.h"

namespace ponencias {

namespace {
StoreError ClosedError() {
    return StoreError(StoreError::NotOpen,
                      QStringLiteral("No se permite la operación: el conjunto de registros está "
                                     "cerrado."));
}
}  // namespace

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

void Recordset::Open(const QString& sql, Connection& connection, int, int) {
    // The cursor is always client-side: the cursor and lock kinds asked for change nothing for a
    // store that is only ever read.
    Close();
    const std::shared_ptr<StoreSnapshot> snapshot = connection.snapshot();
    if (!snapshot) {
        throw StoreError(StoreError::NotOpen,
                         QStringLiteral("No se permite la operación: la conexión con el archivo "
                                        "de datos está cerrada (sentencia «%1»).")
                             .arg(StatementForMessage(sql)));
    }
    auto rows = std::make_unique<ResultRows>(snapshot, sql);
    columns_ = rows->columns();
    rows_ = std::move(rows);
}

void Recordset::Close() {
    rows_.reset();
    columns_.clear();
    current_ = Field();
}

void Recordset::MoveFirst() {
    if (!rows_) {
        throw ClosedError();
    }
    rows_->moveTo(0);
}

void Recordset::MoveNext() {
    if (Eof()) {
        throw StoreError(StoreError::NoCurrentRecord,
                         QStringLiteral("No hay registro activo: el conjunto de registros ya "
                                        "está después del último."));
    }
    rows_->moveTo(rows_->position() + 1);
}

bool Recordset::Bof() const {
    if (!rows_) {
        throw ClosedError();
    }
    // There is no moving backwards, so the recordset is before its first row only when it has
    // none.
    return rows_->count() == 0;
}

bool Recordset::Eof() const {
    if (!rows_) {
        throw ClosedError();
    }
    return rows_->position() >= rows_->count();
}

long Recordset::RecordCount() const {
    if (!rows_) {
        throw ClosedError();
    }
    return rows_->count();
}

int Recordset::columnIndex(const QString& name) const {
    qsizetype column = columns_.indexOf(name);
    if (column < 0) {
        for (qsizetype c = 0; c < columns_.size(); ++c) {
            if (columns_[c].compare(name, Qt::CaseInsensitive) == 0) {
                column = c;
                break;
            }
        }
    }
    if (column < 0) {
        throw StoreError(StoreError::ColumnNotFound,
                         QStringLiteral("No se encuentra el campo «%1» en el resultado (campos: "
                                        "%2).")
                             .arg(name, columns_.join(QStringLiteral(", "))));
    }
    return int(column);
}

void Recordset::requireCurrentRow(const QString& what) const {
    if (Bof() || Eof()) {
        throw StoreError(StoreError::NoCurrentRecord, what);
    }
}

const Field& Recordset::Fields(const QString& name) const {
    if (!rows_) {
        throw ClosedError();
    }
    const int column = columnIndex(name);
    requireCurrentRow(QStringLiteral("No hay registro activo para leer el campo «%1».").arg(name));
    current_.Name = columns_[column];
    current_.Value = rows_->value(column);
    return current_;
}

QVariant Recordset::value(int column) const {
    if (!rows_) {
        throw ClosedError();
    }
    if (column < 0 || column >= columns_.size()) {
        throw StoreError(
            StoreError::ColumnNotFound,
            QStringLiteral("No se encuentra el campo número %1 en el resultado.").arg(column));
    }
    requireCurrentRow(QStringLiteral("No hay registro activo."));
    return rows_->value(column);
}

QString Field::Text() const {
    return ValueText(Value);
}

QString ValueText(const QVariant& value) {
    if (value.isNull()) {
        return QString();
    }
    switch (value.typeId()) {
        case QMetaType::QString:
            return value.toString();
        case QMetaType::LongLong:
        case QMetaType::Int:
            return QString::number(value.toLongLong());
        case QMetaType::Double:
            return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
        case QMetaType::QByteArray:
            // A binary value is read as the text its bytes spell, as a text field would be.
            return QString::fromUtf8(value.toByteArray());
        default:
            return value.toString();
    }
}

}  // namespace ponencias
