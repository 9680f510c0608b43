#pragma once

#include <QString>
#include <memory>

namespace ponencias {

class StoreSnapshot;

// A connection to the data file named by a connection string of the form
// "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=<path>". Only the Data Source is used; the
// provider is accepted as written. Opening reads the file (or reuses the in-memory copy of the
// same file version); the file itself is never written, locked or kept open.
class Connection {
public:
    Connection();
    ~Connection();
    Q_DISABLE_COPY(Connection)

    // Throws StoreError when the file is missing, unreadable, of another kind or corrupt.
    void Open(const QString& connectionString);
    // Lets the data go; harmless on a connection that is not open.
    void Close();

    bool isOpen() const { return snapshot_ != nullptr; }
    const QString& dataSource() const { return dataSource_; }
    // The queryable copy of the file; null while the connection is closed.
    std::shared_ptr<StoreSnapshot> snapshot() const { return snapshot_; }

private:
    std::shared_ptr<StoreSnapshot> snapshot_;
    QString dataSource_;
};

// The Data Source of a connection string, trimmed of the blanks around it.
QString DataSourceOf(const QString& connectionString);

}  // namespace ponencias
