#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <vector>

namespace ponencias::test {

// One proposal for a test store: column name -> value. A column left out, or a null QVariant,
// is stored as NULL; every other value is stored as text.
using ProposalRow = QMap<QString, QVariant>;

// The seventeen columns of PONENCIAS.
QStringList AllProposalColumns();

// Rows from a table of texts, each row's values for `columns` in order; "~" stands for null, as
// does a value left off the end of a row.
std::vector<ProposalRow> RowsOf(const QStringList& columns,
                                const std::vector<std::vector<const char*>>& table);

// A data file in a temporary folder, named Ponencias.mdb, holding a PONENCIAS table with the
// given columns (all of them by default) and rows. A column is TEXT unless given with its own
// declaration ("FOLIO INTEGER"). Removed with the object.
class TemporaryStore {
public:
    explicit TemporaryStore(const std::vector<ProposalRow>& rows,
                            const QStringList& columns = AllProposalColumns());
    ~TemporaryStore();

    QString path() const { return path_; }
    QString folder() const { return dir_.path(); }
    // Makes this file the one the program's store opens, until the object goes.
    void use();

private:
    QTemporaryDir dir_;
    QString path_;
};

// The sample database the build generates (the application folder holds the configured data
// file, which is this sample unless PONENCIAS_DATA_FILE names another).
QString SampleDatabasePath();
// Makes the sample the program's data file.
void UseSampleDatabase();
// An Access file of the repository's test data (tests/data/access); a missing one fails the
// test that asks for it.
QString AccessTestFile(const QString& name);
// The Access file written by Access with dates, texts and memos (table DateTest).
QString AccessTestFilePath();

}  // namespace ponencias::test
