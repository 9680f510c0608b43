#include "StoreRows.h"

#include <sqlite3.h>

#include "store/StoreSnapshot.h"

namespace ponencias::documents {

long long CountOf(const Cell& cell) {
    return cell.value_or(QString()).toLongLong();
}

std::vector<Row> StoreRows::rows(const QString& sql) const {
    std::vector<Row> result;
    sqlite3_stmt* statement = snapshot_.Prepare(sql);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        Row row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            if (sqlite3_column_type(statement, i) == SQLITE_NULL) {
                row.emplace_back();
            } else {
                row.emplace_back(QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, i)),
                    sqlite3_column_bytes(statement, i)));
            }
        }
        result.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) {
        throw snapshot_.StatementFailure(sql);
    }
    return result;
}

Row StoreRows::row(const QString& sql) const {
    std::vector<Row> all = rows(sql);
    return all.empty() ? Row() : std::move(all.front());
}

QString StoreRows::value(const QString& sql) const {
    const Row first = row(sql);
    return first.empty() || !first[0] ? QString() : *first[0];
}

std::vector<std::pair<QString, QString>> StoreRows::columns(const QString& sql) const {
    std::vector<std::pair<QString, QString>> columns;
    sqlite3_stmt* statement = snapshot_.Prepare(sql);
    for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        columns.emplace_back(QString::fromUtf8(sqlite3_column_name(statement, i)),
                             QString::fromUtf8(sqlite3_column_decltype(statement, i)));
    }
    sqlite3_finalize(statement);
    return columns;
}

}  // namespace ponencias::documents
