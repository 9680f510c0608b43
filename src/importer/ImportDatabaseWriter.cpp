#include "ImportDatabaseWriter.h"

#include <sqlite3.h>

#include <charconv>
#include <cstdlib>
#include <string>

#include "AccessDecimal.h"
#include "ImportFailures.h"
#include "store/JetDialect.h"

namespace ponencias {

ImportDatabaseWriter::ImportDatabaseWriter() {
    if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
            SQLITE_OK ||
        RegisterJetDialect(db_) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw ImportFailure("no se pudo crear la copia en memoria");
    }
    Exec(QStringLiteral("BEGIN"));
}

ImportDatabaseWriter::~ImportDatabaseWriter() {
    sqlite3_finalize(insert_);
    sqlite3_close(db_);
}

void ImportDatabaseWriter::Exec(const QString& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message != nullptr ? message : "";
        sqlite3_free(message);
        throw TableFailure("no se pudo copiar (" + text + ")");
    }
}

void ImportDatabaseWriter::FinalizeInsert() {
    sqlite3_finalize(insert_);
    insert_ = nullptr;
}

void ImportDatabaseWriter::BeginTable(const QString& name, const QStringList& columns,
                                      const QStringList& types) {
    FinalizeInsert();
    Exec(QStringLiteral("SAVEPOINT tabla"));
    QStringList definitions;
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        definitions << QuotedIdentifier(columns[i]) + u' ' + types[i] + QStringLiteral(" COLLATE ") +
                           QLatin1String(kJetTextCollation);
        marks << QStringLiteral("?");
    }
    Exec(QStringLiteral("CREATE TABLE %1 (%2)")
             .arg(QuotedIdentifier(name), definitions.join(QStringLiteral(", "))));
    const QByteArray insert = QStringLiteral("INSERT INTO %1 VALUES (%2)")
                                  .arg(QuotedIdentifier(name), marks.join(QStringLiteral(", ")))
                                  .toUtf8();
    if (sqlite3_prepare_v2(db_, insert.constData(), -1, &insert_, nullptr) != SQLITE_OK) {
        throw TableFailure("no se pudo copiar");
    }
}

void ImportDatabaseWriter::EndTable() {
    FinalizeInsert();
    Exec(QStringLiteral("RELEASE tabla"));
}

void ImportDatabaseWriter::AbandonTable() {
    FinalizeInsert();
    sqlite3_exec(db_, "ROLLBACK TO tabla; RELEASE tabla", nullptr, nullptr, nullptr);
}

void ImportDatabaseWriter::BindInteger(int column, int64_t value) {
    sqlite3_bind_int64(insert_, column, value);
}

void ImportDatabaseWriter::BindReal(int column, double value) {
    sqlite3_bind_double(insert_, column, value);
}

void ImportDatabaseWriter::BindNull(int column) {
    sqlite3_bind_null(insert_, column);
}

void ImportDatabaseWriter::BindText(int column, const char* text, size_t length) {
    sqlite3_bind_text64(insert_, column, text, length, SQLITE_TRANSIENT, SQLITE_UTF8);
}

void ImportDatabaseWriter::BindDecimal(int column, const AccessDecimal& decimal) {
    const std::string text = decimal.Text();
    int64_t whole = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), whole);
    if (parsed.ec == std::errc() && parsed.ptr == text.data() + text.size()) {
        BindInteger(column, whole);
        return;
    }
    const double value = std::strtod(text.c_str(), nullptr);
    char shortest[64];
    const auto printed =
        std::to_chars(shortest, shortest + sizeof shortest, value, std::chars_format::fixed);
    if (printed.ec == std::errc() && std::string(shortest, printed.ptr) == text) {
        BindReal(column, value);
        return;
    }
    BindText(column, text.data(), text.size());
}

void ImportDatabaseWriter::EndRow() {
    if (sqlite3_step(insert_) != SQLITE_DONE) {
        throw TableFailure(std::string("no se pudo copiar una fila (") + sqlite3_errmsg(db_) + ")");
    }
    sqlite3_reset(insert_);
    sqlite3_clear_bindings(insert_);
}

QByteArray ImportDatabaseWriter::Finish() {
    FinalizeInsert();
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

}  // namespace ponencias
