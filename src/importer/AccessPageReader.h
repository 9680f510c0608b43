#pragma once

#include "Mdb.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <functional>
#include <vector>

#include "AccessColumn.h"

namespace ponencias {

class AccessFieldReader;
class ImportDatabaseWriter;

// Reads every user table of an Access file (Jet 3, Jet 4 or ACE) held in memory, page by page,
// into an SQLite image. A table's recorded row count is only a hint: every row its data pages
// hold is read, rows Access moved to another page once, where their pointer stands. A table
// other than `requiredTable` that cannot be read is left out with a note; a `requiredTable` that
// cannot be read whole, or a file cut short, throws ImportFailure.
class AccessPageReader {
public:
    AccessPageReader(const QByteArray& bytes, QString requiredTable);
    ~AccessPageReader();
    Q_DISABLE_COPY(AccessPageReader)

    QByteArray Read();
    // What could not be read, one Spanish sentence each.
    const QStringList& notes() const { return notes_; }

private:
    void ReadTable(MdbCatalogEntry* entry, const QString& tableName, ImportDatabaseWriter& writer,
                   AccessFieldReader& fields);
    std::vector<AccessColumn> Columns(MdbTableDef* table, const QString& tableName);
    void ReadRows(MdbTableDef* table, std::vector<AccessColumn>& columns, const QString& tableName,
                  ImportDatabaseWriter& writer, AccessFieldReader& fields);
    void WalkRows(MdbTableDef* table, const std::function<void(int start, size_t size)>& row);
    int FollowMovedRow(int start, size_t& size);
    void CheckRowWithinPage(int start, size_t size) const;
    void ReadRow(MdbTableDef* table, int start, size_t size, long number,
                 std::vector<AccessColumn>& columns, const QString& tableName,
                 ImportDatabaseWriter& writer, AccessFieldReader& fields);
    void CheckCatalogProperties();
    void CheckPagesWithinFile(MdbTableDef* table, const QString& tableName);
    bool IsRequired(const QString& tableName) const;

    const QByteArray& bytes_;
    QString requiredTable_;  // the one table that must be read whole
    MdbHandle* mdb_ = nullptr;
    size_t pageSize_ = 4096;
    std::vector<MdbField> fields_;
    QStringList notes_;
};

}  // namespace ponencias
