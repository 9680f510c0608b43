#include "ResultRows.h"

#include <sqlite3.h>

#include <cstring>

#include "StoreError.h"
#include "StoreSnapshot.h"

namespace ponencias {

namespace {

// How each kept value starts.
enum Tag : char { Null = 0, Integer = 1, Real = 2, Text = 3, Blob = 4 };

void AppendBytes(std::string& out, const void* bytes, size_t size) {
    out.append(static_cast<const char*>(bytes), size);
}

// The current row of `statement`, in the kept-row form, added to `out`.
void AppendRow(sqlite3_stmt* statement, int columns, std::string& out) {
    for (int c = 0; c < columns; ++c) {
        switch (sqlite3_column_type(statement, c)) {
            case SQLITE_INTEGER: {
                const sqlite3_int64 value = sqlite3_column_int64(statement, c);
                out.push_back(Integer);
                AppendBytes(out, &value, sizeof value);
                break;
            }
            case SQLITE_FLOAT: {
                const double value = sqlite3_column_double(statement, c);
                out.push_back(Real);
                AppendBytes(out, &value, sizeof value);
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
                out.push_back(text ? Text : Blob);
                AppendBytes(out, &size, sizeof size);
                if (size > 0) {
                    AppendBytes(out, value, size);
                }
                break;
            }
            default:
                out.push_back(Null);
                break;
        }
    }
}

}  // namespace

ResultRows::ResultRows(std::shared_ptr<const StoreSnapshot> snapshot, const QString& sql)
    : snapshot_(std::move(snapshot)), sql_(sql) {
    sqlite3_stmt* statement = snapshot_->Prepare(sql_);
    struct Finalize {
        sqlite3_stmt* s;
        ~Finalize() { sqlite3_finalize(s); }
    } finalize{statement};
    const int columns = sqlite3_column_count(statement);
    for (int c = 0; c < columns; ++c) {
        columns_ << QString::fromUtf8(sqlite3_column_name(statement, c));
    }
    bool keeping = true;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        if (keeping) {
            rowStarts_.push_back(data_.size());
            AppendRow(statement, columns, data_);
            if (data_.size() > kKeptResultBytes) {
                keeping = false;
                std::string().swap(data_);
                std::vector<size_t>().swap(rowStarts_);
            }
        }
        ++count_;
    }
    if (rc != SQLITE_DONE) {
        throw snapshot_->StatementFailure(sql_);
    }
    if (!keeping) {
        sqlite3_reset(statement);
        statement_ = statement;
        finalize.s = nullptr;
    }
    moveTo(0);
}

ResultRows::~ResultRows() {
    sqlite3_finalize(statement_);
}

void ResultRows::moveTo(long row) {
    if (failed_) {
        throwBroken();
    }
    if (!streamed()) {
        position_ = row;
        if (row < count_) {
            decodeRow(data_.data() + rowStarts_[size_t(row)]);
        } else {
            current_.clear();
        }
        return;
    }
    if (row == position_) {
        return;
    }
    if (row == 0) {
        sqlite3_reset(statement_);
    }
    const int rc = sqlite3_step(statement_);
    const bool expectRow = row < count_;
    if (rc == SQLITE_ROW && expectRow) {
        data_.clear();
        AppendRow(statement_, int(columns_.size()), data_);
        decodeRow(data_.data());
    } else if (rc == SQLITE_DONE && !expectRow) {
        current_.clear();
    } else {
        failed_ = true;
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
            failure_ = snapshot_->StatementFailure(sql_).description();
        } else {
            failure_ = QStringLiteral(
                           "al leerlo de nuevo dio %1 registros en lugar de los %2 "
                           "contados")
                           .arg(rc == SQLITE_ROW ? QStringLiteral("más") : QString::number(row))
                           .arg(count_);
        }
        throwBroken();
    }
    position_ = row;
}

void ResultRows::throwBroken() const {
    throw StoreError(StoreError::StatementFailed,
                     QStringLiteral("No se pudo terminar de leer el resultado de la sentencia "
                                    "«%1»: %2.")
                         .arg(StatementForMessage(sql_), failure_));
}

void ResultRows::decodeRow(const char* start) {
    current_.resize(size_t(columns_.size()));
    const char* at = start;
    for (const char*& value : current_) {
        value = at;
        switch (*at) {
            case Integer:
            case Real:
                at += 1 + 8;
                break;
            case Text:
            case Blob: {
                quint32 size;
                std::memcpy(&size, at + 1, sizeof size);
                at += 1 + sizeof size + size;
                break;
            }
            default:
                at += 1;
                break;
        }
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
