#include "SampleDatabaseWriter.h"

#include <sqlite3.h>

#include <cstdio>

#include "store/ProposalTable.h"

namespace ponencias::sample {

bool SampleDatabaseWriter::write(const std::string& path,
                                 const std::vector<SampleProposal>& proposals) {
    db_ = nullptr;
    if (!check(sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                               nullptr),
               "no se pudo crear la base")) {
        sqlite3_close(db_);
        return false;
    }
    bool ok = createTable() &&
              check(sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr), "BEGIN") &&
              insertRows(proposals) &&
              check(sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr), "COMMIT");
    sqlite3* db = db_;
    db_ = nullptr;  // after the close the connection may be gone: its code tells the failure
    ok = check(sqlite3_close(db), "cierre") && ok;
    return ok;
}

bool SampleDatabaseWriter::check(int rc, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "ponencias-sample-generator: %s: %s\n", what,
                     db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
        return false;
    }
    return true;
}

bool SampleDatabaseWriter::createTable() {
    std::string create = std::string("CREATE TABLE ") + kProposalTable + " (";
    for (std::size_t i = 0; i < kProposalColumns.size(); ++i) {
        create += std::string(i ? ", " : "") + kProposalColumns[i] + " TEXT";
    }
    create += ")";
    return check(sqlite3_exec(db_,
                              "PRAGMA page_size = 4096; PRAGMA journal_mode = OFF; "
                              "PRAGMA encoding = 'UTF-8'",
                              nullptr, nullptr, nullptr),
                 "PRAGMA") &&
           check(sqlite3_exec(db_, create.c_str(), nullptr, nullptr, nullptr), "CREATE");
}

bool SampleDatabaseWriter::insertRows(const std::vector<SampleProposal>& proposals) {
    std::string insert = std::string("INSERT INTO ") + kProposalTable + " VALUES (";
    for (std::size_t i = 0; i < kProposalColumns.size(); ++i) {
        insert += i ? ", ?" : "?";
    }
    insert += ")";
    sqlite3_stmt* statement = nullptr;
    bool ok = check(sqlite3_prepare_v2(db_, insert.c_str(), -1, &statement, nullptr), "INSERT");
    for (const SampleProposal& p : proposals) {
        if (!ok) {
            break;
        }
        for (int i = 0; i < kColumnCount; ++i) {
            const Value& v = p.values[static_cast<std::size_t>(i)];
            if (v) {
                sqlite3_bind_text(statement, i + 1, v->c_str(), static_cast<int>(v->size()),
                                  SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_null(statement, i + 1);
            }
        }
        ok = check(sqlite3_step(statement), "INSERT") && check(sqlite3_reset(statement), "INSERT");
    }
    sqlite3_finalize(statement);
    return ok;
}

}  // namespace ponencias::sample
