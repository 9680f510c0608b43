#include "SqliteFailure.h"

#include <sqlite3.h>

#include <QRegularExpression>
#include <optional>

namespace ponencias {

SqliteFailure::SqliteFailure(int code, const QString& message)
    : std::runtime_error(message.toStdString()), code_(code), message_(message) {}

SqliteFailure SqliteFailure::LastOn(sqlite3* db) {
    return SqliteFailure(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)));
}

namespace {

// The store's error for a failure under SQLite's general code, which a missing table or column,
// a syntax error and a function that refuses to run (such as load_extension) all share: only
// the message tells them apart. None for any other failure.
std::optional<StoreError> ErrorByMessage(const QString& message, const QString& statement,
                                         const QString& dataFile, const StoreError& readOnly) {
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
    if (message == QLatin1String("not authorized")) {
        return readOnly;
    }
    return std::nullopt;
}

}  // namespace

StoreError SqliteFailure::forStatement(const QString& sql, const QString& dataFile) const {
    const QString statement = StatementForMessage(sql);
    const StoreError readOnly(StoreError::ReadOnly,
                              QStringLiteral("El almacén de ponencias es de solo lectura; no se "
                                             "admite la sentencia «%1».")
                                  .arg(statement));
    const int primary = code_ & 0xff;
    // Refused by the store's authorizer (anything but reading), or a write to the copy.
    if (primary == SQLITE_AUTH || primary == SQLITE_READONLY) {
        return readOnly;
    }
    if (primary == SQLITE_ERROR) {
        if (auto error = ErrorByMessage(message_, statement, dataFile, readOnly)) {
            return *error;
        }
    }
    return StoreError(
        StoreError::StatementFailed,
        QStringLiteral("No se pudo ejecutar la sentencia «%1» (%2).").arg(statement, message_));
}

}  // namespace ponencias
