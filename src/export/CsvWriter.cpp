#include "CsvWriter.h"

#include <QIODevice>

namespace ponencias {

namespace {
QByteArray CsvField(const QString& field) {
    QByteArray text = field.toUtf8();
    if (!text.contains(',') && !text.contains('"') && !text.contains('\r') &&
        !text.contains('\n')) {
        return text;
    }
    // RFC 4180: the field between quotes, each quote in it doubled.
    return '"' + text.replace('"', "\"\"") + '"';
}
}  // namespace

bool CsvWriter::writeRecord(const QStringList& fields) {
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += CsvField(fields[i]);
    }
    line += "\r\n";
    return out_.write(line) == line.size();
}

}  // namespace ponencias
