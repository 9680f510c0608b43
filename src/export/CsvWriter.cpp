#include "CsvWriter.h"

#include <csv.h>

#include <QIODevice>

namespace ponencias {

namespace {
QByteArray CsvField(const QString& field) {
    QByteArray text = field.toUtf8();
    if (!text.contains(',') && !text.contains('"') && !text.contains('\r') &&
        !text.contains('\n')) {
        return text;
    }
    // libcsv quotes the field and doubles its quotes; at most 2 + 2n bytes come out.
    QByteArray quoted(2 * text.size() + 2, Qt::Uninitialized);
    const size_t written =
        csv_write(quoted.data(), size_t(quoted.size()), text.constData(), size_t(text.size()));
    quoted.truncate(qsizetype(written));
    return quoted;
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
