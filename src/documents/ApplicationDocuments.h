#pragma once

// The documents delivered beside the data file in the application folder: the whole database
// as a workbook and the typology of its variables, both derived from the data file, and the
// glossary. The build and `ponencias-cli documentos` write them with this same code, under the
// names store/ApplicationFolder.h gives them.

#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>

namespace ponencias {
class StoreSnapshot;
}

namespace ponencias::documents {

// A proposals database to derive documents from: the store's copy of the file, checked to hold
// PONENCIAS with every column the program names and at least one proposal. Throws StoreError,
// in the store's numbers and words and naming the file, when it is not such a database.
class ProposalDatabase {
public:
    explicit ProposalDatabase(const QString& dataFile);
    ~ProposalDatabase();

    const QString& dataFile() const { return dataFile_; }
    long long proposals() const { return proposals_; }
    const StoreSnapshot& snapshot() const { return *snapshot_; }

private:
    QString dataFile_;
    std::shared_ptr<StoreSnapshot> snapshot_;
    long long proposals_ = 0;
};

// Each document on its own; they throw OutputError when the file cannot be written (each is written
// whole under a temporary name and renamed into place, or not at all) and StoreError when the store
// fails.
void WriteGlossary(const QString& path);
void WriteTypology(const ProposalDatabase& database, const QString& path);
void WriteWorkbook(const ProposalDatabase& database, const QString& path);

// The three documents for `dataFile` written into `folder` under their delivered names. The
// data file is read and checked, and the typology composed, before anything is written, so a
// file that is not a proposals database leaves the folder as it was.
void WriteApplicationDocuments(const QString& dataFile, const QString& folder);

}  // namespace ponencias::documents
