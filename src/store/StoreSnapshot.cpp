#include "StoreSnapshot.h"

#include <sqlite3.h>

#include "StatementText.h"
#include "SqliteFailure.h"

namespace ponencias {

StoreSnapshot::StoreSnapshot(sqlite3* db, QString dataFile, QStringList importNotes)
    : db_(db), dataFile_(std::move(dataFile)), importNotes_(std::move(importNotes)) {}

StoreSnapshot::~StoreSnapshot() {
    sqlite3_close(db_);
}

sqlite3_stmt* StoreSnapshot::Prepare(const QString& sql) const {
    const QString written = WithNulLiterals(sql);
    return withImpliedOrder(compile(sql, written.toUtf8()), written);
}

StoreError StoreSnapshot::StatementFailure(const QString& sql) const {
    return SqliteFailure::LastOn(db_).forStatement(sql, dataFile_);
}

// The statement `text` (the UTF-8 of `sql` as SQLite is to read it), checked to be one statement
// that only reads.
sqlite3_stmt* StoreSnapshot::compile(const QString& sql, const QByteArray& text) const {
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v3(db_, text.constData(), int(text.size()), 0, &statement, &tail) !=
        SQLITE_OK) {
        const SqliteFailure failure = SqliteFailure::LastOn(db_);
        sqlite3_finalize(statement);
        throw failure.forStatement(sql, dataFile_);
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
        throw SqliteFailure(SQLITE_AUTH, QStringLiteral("not authorized"))
            .forStatement(sql, dataFile_);
    }
    finalize.s = nullptr;
    return statement;
}

// A distinct result that asks for no order comes sorted, as the engine the statements are
// written for gives it: `statement`, compiled from `text`, or in its place the same text with
// the order added. Should the ordered text not compile, the statement runs as written.
sqlite3_stmt* StoreSnapshot::withImpliedOrder(sqlite3_stmt* statement, const QString& text) const {
    const ImpliedRowOrder order(text);
    const int columns = sqlite3_column_count(statement);
    if (!order.applies() || columns == 0) {
        return statement;
    }
    const QByteArray ordered = order.orderedStatement(columns).toUtf8();
    sqlite3_stmt* sorted = nullptr;
    if (sqlite3_prepare_v3(db_, ordered.constData(), int(ordered.size()), 0, &sorted, nullptr) !=
            SQLITE_OK ||
        sorted == nullptr) {
        sqlite3_finalize(sorted);
        return statement;
    }
    sqlite3_finalize(statement);
    return sorted;
}

}  // namespace ponencias
