#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace ponencias {

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

class Connection;
class ResultRows;

// ADO's cursor and lock constants, as the readers pass them.
inline constexpr int adUseServer = 2;
inline constexpr int adUseClient = 3;
inline constexpr int adOpenDynamic = 2;
inline constexpr int adLockOptimistic = 3;

// The result of one query, walked row by row. The cursor is client-side: Open runs the statement
// to its end and keeps the rows, so RecordCount is exact, and a statement that fails does so at
// Open, before any row is read. A large result is kept in a temporary file rather than in
// memory; should it fail to read back, the move throws, never ends the result early.
// (BOF and EOF are spelled Bof and Eof: EOF is a macro of the C library.)
class Recordset {
public:
    Recordset();
    ~Recordset();
    Q_DISABLE_COPY(Recordset)

    // Set by every reader as ADO wants it; the cursor is client-side whatever it holds.
    int CursorLocation = adUseServer;

    // Runs `sql` on the open connection and positions on the first row. Throws StoreError when
    // the connection is not open or the store rejects the statement; the recordset stays closed.
    void Open(const QString& sql, Connection& connection, int cursorType, int lockType);
    // Harmless on a recordset that is not open.
    void Close();

    void MoveFirst();  // harmless on an empty result
    // Throws StoreError when already past the last row, or when a large result cannot be read
    // back.
    void MoveNext();
    bool Bof() const;
    bool Eof() const;
    long RecordCount() const;
    // The named field of the current row, found by name in any letter case. Throws StoreError
    // for an unknown name or when there is no current row.
    const Field& Fields(const QString& name) const;

    bool isOpen() const { return rows_ != nullptr; }
    // The column names as the store returns them, in the result's order.
    const QStringList& columnNames() const { return columns_; }
    // The value of the current row's column at `column` (0-based), for readers that walk the
    // columns in order, where two may share a name. Throws StoreError like Fields.
    QVariant value(int column) const;

private:
    int columnIndex(const QString& name) const;
    void requireCurrentRow(const QString& what) const;

    std::unique_ptr<ResultRows> rows_;  // null while closed
    QStringList columns_;
    mutable Field current_;
};

}  // namespace ponencias
