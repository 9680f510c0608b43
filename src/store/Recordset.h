#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

#include "Field.h"

namespace ponencias {

class Connection;

// ADO's cursor and lock constants, as the readers pass them.
inline constexpr int adUseServer = 2;
inline constexpr int adUseClient = 3;
inline constexpr int adOpenDynamic = 2;
inline constexpr int adLockOptimistic = 3;

// The result of one query, walked row by row. The cursor is client-side: Open reads the whole
// result, so RecordCount is exact, and a failing statement never yields part of a result.
// (BOF and EOF are spelled Bof and Eof: EOF is a macro of the C library.)
class Recordset {
public:
    int CursorLocation = adUseServer;

    // Runs `sql` on the open connection and positions on the first row. Throws StoreError when
    // the connection is not open or the store rejects the statement; the recordset stays closed.
    void Open(const QString& sql, Connection& connection, int cursorType, int lockType);
    // Harmless on a recordset that is not open.
    void Close();

    void MoveFirst();  // harmless on an empty result
    void MoveNext();   // throws StoreError when already past the last row
    bool Bof() const;
    bool Eof() const;
    long RecordCount() const;
    // The named field of the current row, found by name in any letter case. Throws StoreError
    // for an unknown name or when there is no current row.
    const Field& Fields(const QString& name) const;

    bool isOpen() const { return open_; }
    const QStringList& columnNames() const { return columns_; }

private:
    bool open_ = false;
    QStringList columns_;
    std::vector<std::vector<QVariant>> rows_;
    long position_ = 0;  // 0-based; == rows_.size() means EOF
    bool beforeFirst_ = false;
    mutable Field current_;
};

}  // namespace ponencias
