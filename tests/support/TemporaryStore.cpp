// A test store written straight with SQLite, apart from the store's own reading, so what the
// program reads is exactly what a test put there. Needs nothing but SQLite: the fuzz targets
// build their fixed store with it too.
#include <sqlite3.h>

#include <stdexcept>

#include "TestStore.h"
#include "store/ApplicationFolder.h"
#include "store/ProposalTable.h"

namespace ponencias::test {

QStringList AllProposalColumns() {
    QStringList columns;
    for (const char* column : kProposalColumns) {
        columns << QString::fromLatin1(column);
    }
    return columns;
}

TemporaryStore::TemporaryStore(const std::vector<ProposalRow>& rows, const QStringList& columns) {
    if (!dir_.isValid()) {
        throw std::runtime_error("no temporary folder");
    }
    path_ = dir_.filePath(QString::fromLatin1(kProposalDataFileName));
    sqlite3* db = nullptr;
    if (sqlite3_open(path_.toUtf8().constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot create test store");
    }
    QStringList definitions;
    QStringList names;
    QStringList marks;
    for (const QString& column : columns) {
        definitions << (column.contains(u' ') ? column : column + QStringLiteral(" TEXT"));
        names << column.section(u' ', 0, 0);
        marks << QStringLiteral("?");
    }
    const QString create =
        QStringLiteral("CREATE TABLE PONENCIAS (%1)").arg(definitions.join(QStringLiteral(", ")));
    const QString insert =
        QStringLiteral("INSERT INTO PONENCIAS (%1) VALUES (%2)")
            .arg(names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    if (sqlite3_exec(db, create.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot create PONENCIAS");
    }
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, insert.toUtf8().constData(), -1, &statement, nullptr);
    for (const ProposalRow& row : rows) {
        sqlite3_reset(statement);
        for (int i = 0; i < names.size(); ++i) {
            const QVariant value = row.value(names[i]);
            if (value.isNull()) {
                sqlite3_bind_null(statement, i + 1);
            } else {
                // Bytes go in as they are, so a store can hold a text that is not UTF-8.
                const QByteArray text = value.typeId() == QMetaType::QByteArray
                                            ? value.toByteArray()
                                            : value.toString().toUtf8();
                sqlite3_bind_text(statement, i + 1, text.constData(), int(text.size()),
                                  SQLITE_TRANSIENT);
            }
        }
        if (sqlite3_step(statement) != SQLITE_DONE) {
            sqlite3_finalize(statement);
            sqlite3_close(db);
            throw std::runtime_error("cannot insert a test row");
        }
    }
    sqlite3_finalize(statement);
    const bool committed = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (sqlite3_close(db) != SQLITE_OK || !committed) {
        throw std::runtime_error("cannot write the test store");
    }
}

TemporaryStore::~TemporaryStore() {
    if (ProposalDataFile() == path_) {
        SetProposalDataFile(QString());
    }
}

void TemporaryStore::use() {
    SetProposalDataFile(path_);
}

}  // namespace ponencias::test
