#include "InMemoryCopy.h"

#include <sqlite3.h>

#include <cstring>

#include "JetDialect.h"
#include "SqliteFailure.h"
#include "StoreError.h"

namespace ponencias {

namespace {

// Only reading is allowed once the copy is built: statements run on the copy, and the copy is
// shared by every later opening of the same file version, so it must stay as built.
int ReadOnlyAuthorizer(void*, int action, const char*, const char*, const char*, const char*) {
    switch (action) {
        case SQLITE_SELECT:
        case SQLITE_READ:
        case SQLITE_FUNCTION:
        case SQLITE_RECURSIVE:
            return SQLITE_OK;
        default:
            return SQLITE_DENY;
    }
}

}  // namespace

InMemoryCopy::InMemoryCopy() {
    // URIs are understood so the data file can be attached read-only and immutable.
    if (sqlite3_open_v2(":memory:", &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI,
                        nullptr) != SQLITE_OK ||
        RegisterJetDialect(db_) != SQLITE_OK) {
        sqlite3_close(db_);
        throw StoreError(StoreError::StatementFailed,
                         QStringLiteral("No se pudo crear la copia en memoria del almacén."));
    }
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
}

InMemoryCopy::~InMemoryCopy() {
    sqlite3_close(db_);
}

void InMemoryCopy::load(const QByteArray& image) {
    auto* bytes = static_cast<unsigned char*>(sqlite3_malloc64(sqlite3_uint64(image.size())));
    if (bytes == nullptr) {
        throw SqliteFailure(SQLITE_NOMEM, QString::fromUtf8(sqlite3_errstr(SQLITE_NOMEM)));
    }
    std::memcpy(bytes, image.constData(), size_t(image.size()));
    // An image left in write-ahead-log mode reads as an ordinary one: it comes with no log.
    if (image.size() > 19 && bytes[18] == 2 && bytes[19] == 2) {
        bytes[18] = bytes[19] = 1;
    }
    if (sqlite3_deserialize(db_, "main", bytes, image.size(), image.size(),
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE) !=
        SQLITE_OK) {
        throw SqliteFailure::LastOn(db_);
    }
}

sqlite3* InMemoryCopy::lockDown() {
    sqlite3_exec(db_, "PRAGMA query_only = 1", nullptr, nullptr, nullptr);
    sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_set_authorizer(db_, ReadOnlyAuthorizer, nullptr);
    sqlite3* db = db_;
    db_ = nullptr;
    return db;
}

}  // namespace ponencias
