#pragma once

#include "Mdb.h"

#include <QString>
#include <QStringList>
#include <cstddef>
#include <vector>

#include "AccessColumn.h"

namespace ponencias {

class ImportDatabaseWriter;

// Reads the values of a row's fields, as libmdb found them on the current page, into the row
// the writer is writing: texts and memos as UTF-8, numbers as numbers, decimals exactly, dates
// as ISO text, calculated columns as the values Access stored. A column that reads empty gets
// one note naming it; a value that cannot be read throws TableFailure, and reading far more
// than the file holds throws ImportFailure.
class AccessFieldReader {
public:
    AccessFieldReader(MdbHandle* mdb, size_t budget, ImportDatabaseWriter& writer,
                      QStringList& notes);

    void Read(int index, AccessColumn& column, const QString& table, const MdbField& field);

private:
    void ReadCalculated(int index, AccessColumn& column, const QString& table, int start, int size);
    void ReadScalar(int index, int kind, const unsigned char* bytes, size_t size);
    void ReadMemo(int index, unsigned char* page, int start, int size);
    bool LongValue(const unsigned char* field, size_t size, std::vector<unsigned char>& out);
    void Note(AccessColumn& column, const QString& table, const QString& why);
    void Spend(size_t bytes);
    void Text(int index, const char* text, size_t length);
    void StoredText(int index, const unsigned char* bytes, size_t size);

    MdbHandle* mdb_;
    size_t pageSize_;
    size_t budget_;  // what the text read so far may still grow by
    ImportDatabaseWriter& writer_;
    QStringList& notes_;
};

}  // namespace ponencias
