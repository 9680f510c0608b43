#pragma once

#include <string>
#include <vector>

#include "SampleProposal.h"

struct sqlite3;

namespace ponencias::sample {

// Writes the proposals, in their order, to a new SQLite file as the one PONENCIAS table, every
// column TEXT. The page size, the encoding and the absence of a journal are fixed, so the file
// depends on nothing but the rows. Failures are told on standard error.
class SampleDatabaseWriter {
public:
    bool write(const std::string& path, const std::vector<SampleProposal>& proposals);

private:
    bool check(int rc, const char* what);
    bool createTable();
    bool insertRows(const std::vector<SampleProposal>& proposals);

    sqlite3* db_ = nullptr;
};

}  // namespace ponencias::sample
