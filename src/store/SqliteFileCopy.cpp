#include "SqliteFileCopy.h"

#include <sqlite3.h>

#include <QUrl>

#include "StoreError.h"
#include "InMemoryCopy.h"
#include "JetDialect.h"
#include "SqliteFailure.h"
#include "StoreSnapshot.h"

namespace ponencias {

namespace {

// The column type that keeps SQLite's affinity for a declared type.
QString AffinityOf(const QString& declared) {
    const QString type = declared.toUpper();
    if (type.contains(QLatin1String("INT"))) {
        return QStringLiteral("INTEGER");
    }
    if (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("CLOB")) ||
        type.contains(QLatin1String("TEXT"))) {
        return QStringLiteral("TEXT");
    }
    if (type.isEmpty() || type.contains(QLatin1String("BLOB"))) {
        return QStringLiteral("BLOB");
    }
    if (type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("FLOA")) ||
        type.contains(QLatin1String("DOUB"))) {
        return QStringLiteral("REAL");
    }
    return QStringLiteral("NUMERIC");
}

// Whether a file of `size` bytes holds every page its header `head` declares: the header names
// the page size and, when its count is current, the page count; a file that ends inside a page
// or before its last page was cut off.
bool HoldsItsPages(const QByteArray& head, qint64 size) {
    const auto byteAt = [&](int at) { return unsigned(uchar(head.at(at))); };
    const unsigned pageField = byteAt(16) << 8 | byteAt(17);
    const qint64 pageSize = pageField == 1 ? 65536 : qint64(pageField);
    const quint32 pages =
        quint32(byteAt(28)) << 24 | byteAt(29) << 16 | byteAt(30) << 8 | byteAt(31);
    const bool pagesCurrent = head.mid(24, 4) == head.mid(92, 4) && pages != 0;
    return pageSize >= 512 && (pageSize & (pageSize - 1)) == 0 && size % pageSize == 0 &&
           !(pagesCurrent && size < qint64(pages) * pageSize);
}

}  // namespace

std::shared_ptr<StoreSnapshot> SqliteFileCopy::Make(const QString& path, const QString& readPath,
                                                    const QByteArray& head, qint64 size) {
    if (head.size() < 100) {
        throw CorruptFileError(path, QStringLiteral("termina antes del final de su cabecera"));
    }
    if (!HoldsItsPages(head, size)) {
        throw CorruptFileError(path, QStringLiteral("su tamaño (%1 bytes) no corresponde a las "
                                                    "páginas que declara; el archivo está cortado")
                                         .arg(size));
    }
    InMemoryCopy copy;
    try {
        SqliteFileCopy file(copy.db());
        file.attach(readPath);
        file.check();
        file.copyTables();
    } catch (const SqliteFailure& failure) {
        throw CorruptFileError(path, failure.message());
    }
    return std::make_shared<StoreSnapshot>(copy.lockDown(), path);
}

void SqliteFileCopy::attach(const QString& readPath) {
    const QString uri = QStringLiteral("file:") +
                        QString::fromLatin1(QUrl::toPercentEncoding(readPath, "/")) +
                        QStringLiteral("?mode=ro&immutable=1");
    sqlite3_stmt* attach = nullptr;
    if (sqlite3_prepare_v2(db_, "ATTACH ?1 AS source", -1, &attach, nullptr) != SQLITE_OK) {
        sqlite3_finalize(attach);
        throw SqliteFailure::LastOn(db_);
    }
    const QByteArray uriText = uri.toUtf8();
    sqlite3_bind_text(attach, 1, uriText.constData(), int(uriText.size()), SQLITE_TRANSIENT);
    const int attached = sqlite3_step(attach);
    sqlite3_finalize(attach);
    if (attached != SQLITE_DONE) {
        throw SqliteFailure::LastOn(db_);
    }
}

// SQLite's own check of the file's structure, whose first finding becomes the reason given.
void SqliteFileCopy::check() {
    const auto check = rows(QStringLiteral("PRAGMA source.quick_check"), 1);
    if (check.empty() || check.front().value(0) != QLatin1String("ok")) {
        throw SqliteFailure(SQLITE_CORRUPT, check.empty()
                                                ? QStringLiteral("sin resultado de comprobación")
                                                : check.front().value(0));
    }
}

void SqliteFileCopy::copyTables() {
    const auto tables = rows(QStringLiteral("SELECT name, coalesce(sql, '') FROM "
                                            "source.sqlite_schema WHERE type = 'table' AND "
                                            "substr(name, 1, 7) <> 'sqlite_'"),
                             2);
    run(QStringLiteral("BEGIN"));
    for (const QStringList& table : tables) {
        if (!table[1].trimmed().startsWith(QLatin1String("CREATE VIRTUAL"), Qt::CaseInsensitive)) {
            copyTable(table[0]);
        }
    }
    run(QStringLiteral("COMMIT"));
    run(QStringLiteral("DETACH source"));
}

void SqliteFileCopy::copyTable(const QString& table) {
    const auto columns = rows(QStringLiteral("PRAGMA source.table_info(%1)").arg(QuotedIdentifier(table)), 3);
    QStringList definitions;
    QStringList names;
    for (const QStringList& column : columns) {
        definitions << QuotedIdentifier(column[1]) + u' ' + AffinityOf(column[2]) +
                           QStringLiteral(" COLLATE ") + QLatin1String(kJetTextCollation);
        names << QuotedIdentifier(column[1]);
    }
    if (names.isEmpty()) {
        return;
    }
    run(QStringLiteral("CREATE TABLE main.%1 (%2)")
            .arg(QuotedIdentifier(table), definitions.join(QStringLiteral(", "))));
    run(QStringLiteral("INSERT INTO main.%1 SELECT %2 FROM source.%1")
            .arg(QuotedIdentifier(table), names.join(QStringLiteral(", "))));
}

std::vector<QStringList> SqliteFileCopy::rows(const QString& sql, int columns) {
    std::vector<QStringList> rows;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        throw SqliteFailure::LastOn(db_);
    }
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < columns; ++c) {
            row << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, c)));
        }
        rows.push_back(row);
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) {
        throw SqliteFailure::LastOn(db_);
    }
    return rows;
}

void SqliteFileCopy::run(const QString& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message);
        sqlite3_free(message);
        throw SqliteFailure(sqlite3_extended_errcode(db_), text);
    }
}

}  // namespace ponencias
