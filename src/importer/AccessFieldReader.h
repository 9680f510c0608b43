#pragma once

#include "Mdb.h"

#include <QString>
#include <QStringList>
#include <cstddef>
#include <string>

#include "AccessColumn.h"
#include "AccessText.h"

namespace ponencias {

class ImportDatabaseWriter;

// Reads the values of a row's fields, as libmdb found them on the current page, into the row
// the writer is writing: texts and memos as UTF-8, numbers as numbers, decimals exactly, dates
// as ISO text, replication identifiers as Access shows them, calculated columns as the values
// Access stored. A column that reads empty gets one note naming it; a value that cannot be
// read throws ValueFailure, and reading far more than the file holds throws ImportFailure.
class AccessFieldReader {
public:
    // `filePages` bounds the links of a long value's chain; `budget` the text read in all.
    AccessFieldReader(MdbHandle* mdb, size_t filePages, size_t budget,
                      ImportDatabaseWriter& writer, QStringList& notes);

    void Read(int index, AccessColumn& column, const QString& table, const MdbField& field);

private:
    void ReadCalculated(int index, AccessColumn& column, const unsigned char* field,
                        size_t size);
    void ReadScalar(int index, int kind, const unsigned char* bytes, size_t size);
    void Note(AccessColumn& column, const QString& table, const QString& why);
    void Spend(size_t bytes);
    void Text(int index, const std::string& text);
    std::string LongValue(const unsigned char* field, size_t size);

    MdbHandle* mdb_;
    size_t pageSize_;
    size_t filePages_;
    size_t budget_;  // what the text read so far may still grow by
    ImportDatabaseWriter& writer_;
    QStringList& notes_;
    AccessText text_;
};

// A replication identifier (GUID) as Access and RFC 4122 write it:
// {8E39276A-BCA8-4AC4-891E-49911D8438DD}, its first three groups stored little-endian.
std::string ReplicationIdText(const unsigned char* bytes);

}  // namespace ponencias
