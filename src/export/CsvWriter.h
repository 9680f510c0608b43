#pragma once

#include <QStringList>

class QIODevice;

namespace ponencias {

// Writes records as RFC 4180 CSV in UTF-8: fields separated by commas, records ended by CRLF,
// a field quoted (its quotes doubled) only when it holds a comma, a quote, CR or LF.
class CsvWriter {
public:
    explicit CsvWriter(QIODevice& out) : out_(out) {}
    // Returns false when the device refused the bytes.
    bool writeRecord(const QStringList& fields);

private:
    QIODevice& out_;
};

}  // namespace ponencias
