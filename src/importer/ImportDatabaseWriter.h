#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

struct sqlite3;
struct sqlite3_stmt;

namespace ponencias {

struct AccessDecimal;

// The in-memory SQLite database the tables of an Access file are copied into, one table at a
// time and one row at a time; Finish gives its serialised image. A table is copied whole or not
// at all. Failures throw TableFailure (the table) or ImportFailure (the copy).
class ImportDatabaseWriter {
public:
    ImportDatabaseWriter();
    ~ImportDatabaseWriter();
    Q_DISABLE_COPY(ImportDatabaseWriter)

    // `types` are the columns' SQLite affinities ("" for none).
    void BeginTable(const QString& name, const QStringList& columns, const QStringList& types);
    void EndTable();
    void AbandonTable();

    // The values of the row being written, by column number from 1; a column given no value
    // stays NULL.
    void BindInteger(int column, int64_t value);
    void BindReal(int column, double value);
    void BindNull(int column);
    void BindText(int column, const char* text, size_t length);
    // A decimal is held as the number it is: an integer when it is whole and fits 64 bits, a
    // double when the double prints back as exactly the same digits, and otherwise as its exact
    // text, so that no digit is ever lost (102030405060.654321 needs more digits than a double
    // keeps).
    void BindDecimal(int column, const AccessDecimal& decimal);
    void EndRow();

    // The database's image; empty for a file without user tables.
    QByteArray Finish();

private:
    void Exec(const QString& sql);
    void FinalizeInsert();

    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
};

}  // namespace ponencias
