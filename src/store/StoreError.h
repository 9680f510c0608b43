#pragma once

#include <QString>
#include <stdexcept>

namespace ponencias {

// A failure of the proposal store: a number the user can quote and a Spanish description that
// names the file or the statement concerned. The numbers follow the file-database engine the
// program was first written against, so a report reads the same as it always did.
class StoreError : public std::runtime_error {
public:
    enum Number : int {
        FileNotFound = 3024,         // the data file does not exist or is not a file
        FileUnreadable = 3051,       // the data file exists but cannot be opened for reading
        UnrecognizedFormat = 3343,   // neither an SQLite database nor an Access file
        CorruptFile = 3049,          // the file claims a known format but cannot be read whole
        TableNotFound = 3078,        // the statement names a table the store does not hold
        ColumnNotFound = 3265,       // a field asked of a recordset, or a column of a statement
        SyntaxError = 3075,          // the statement is not valid SQL for the store
        StatementFailed = 3146,      // any other failure while running a statement
        NotOpen = 3704,              // an operation on a closed connection or recordset
        NoCurrentRecord = 3021,      // a field read or move past either end of a result
        ReadOnly = 3027,             // a statement that would change the store, which is only read
        ImporterUnavailable = 3170,  // the program that reads Access files is missing or broken
    };

    StoreError(int number, const QString& description);

    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

// The statement as an error message shows it: trimmed, and cut short when long.
QString StatementForMessage(const QString& sql);

// The data file `path` claims a known format but cannot be read whole; `why` says what is wrong.
StoreError CorruptFileError(const QString& path, const QString& why);

}  // namespace ponencias
