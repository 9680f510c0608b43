#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

struct sqlite3_stmt;

namespace ponencias {

class StoreSnapshot;

// One field of the current row. `Value` is a null QVariant for a null value, otherwise a
// qlonglong, a double, a QString or a QByteArray.
struct Field {
    QString Name;
    QVariant Value;

    // The value joined to the empty text, as every reader reads it: null becomes "".
    QString Text() const;
};

// Text form of a stored value: "" for null, integers in decimal, reals in their shortest exact
// form ("2.5", "1e+20"), text unchanged.
QString ValueText(const QVariant& value);

// A connection to the data file. Opening reads the file (or reuses the copy of the same file
// version); the file itself is never written, locked or kept open.
class Connection {
public:
    // Throws StoreError when the file is missing, unreadable, of another kind or corrupt.
    void Open(const QString& dataFile);
    // Lets the data go; harmless on a connection that is not open.
    void Close() { snapshot_.reset(); }

    bool isOpen() const { return snapshot_ != nullptr; }
    // The queryable copy of the file; null while the connection is closed.
    const std::shared_ptr<StoreSnapshot>& snapshot() const { return snapshot_; }

private:
    std::shared_ptr<StoreSnapshot> snapshot_;
};

// The result of one query, read row by row from the statement as the rows are asked for.
// RecordCount is exact wherever the recordset stands, counted over the copy, which never
// changes, by a statement of its own when first asked for. A statement
// that fails while its rows are read fails the move that meets the failure, and the recordset
// closes: a result is never ended early as if it were whole.
// (BOF and EOF are spelled Bof and Eof: EOF is a macro of the C library.)
class Recordset {
public:
    Recordset() = default;
    ~Recordset() { Close(); }
    Q_DISABLE_COPY(Recordset)

    // Runs `sql` on the open connection and positions on the first row. Throws StoreError when
    // the connection is not open or the store rejects the statement; the recordset stays closed.
    void Open(const QString& sql, const Connection& connection);
    // Harmless on a recordset that is not open.
    void Close();

    void MoveFirst();  // harmless on an empty result
    // Throws StoreError when already past the last row, or when the statement fails.
    void MoveNext();
    bool Bof() const;
    bool Eof() const;
    long RecordCount() const;
    // The named field of the current row, found by name in any letter case. Throws StoreError
    // for an unknown name or when there is no current row.
    const Field& Fields(const QString& name) const;

    bool isOpen() const { return statement_ != nullptr; }
    // The column names as the store returns them, in the result's order.
    const QStringList& columnNames() const { return columns_; }
    // The value of the current row's column at `column` (0-based), for readers that walk the
    // columns in order, where two may share a name. Throws StoreError like Fields.
    QVariant value(int column) const;
    // The same value as its text in UTF-8, as ValueText writes it, read without going through Qt's
    // text: what a writer of UTF-8 files takes as it is. Its bytes are the store's, good until the
    // recordset moves, and followed by a NUL.
    QByteArray text(int column) const;

private:
    void requireOpen() const;
    // Throws StoreError when `column` is not a column of the result or there is no current row.
    void requireValue(int column) const;
    void step();

    std::shared_ptr<StoreSnapshot> snapshot_;  // the copy the statement reads, kept alive with it
    sqlite3_stmt* statement_ = nullptr;
    QString sql_;
    QStringList columns_;
    mutable long count_ = -1;  // -1 until asked for
    long position_ = 0;        // of the current row, or of the end
    bool atEnd_ = true;
    mutable Field current_;
};

}  // namespace ponencias
