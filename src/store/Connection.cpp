#include "Connection.h"

#include <QRegularExpression>

#include "StoreError.h"
#include "StoreSnapshot.h"

namespace ponencias {

Connection::Connection() = default;
Connection::~Connection() = default;

void Connection::Open(const QString& connectionString) {
    const QString source = DataSourceOf(connectionString);
    // A connection opened again lets its earlier file go first, as a new one would.
    snapshot_.reset();
    dataSource_ = source;
    if (source.isEmpty()) {
        throw StoreError(StoreError::FileNotFound,
                         QStringLiteral("La cadena de conexión «%1» no indica el archivo de datos "
                                        "(Data Source).")
                             .arg(connectionString));
    }
    snapshot_ = LoadStoreSnapshot(source);
}

void Connection::Close() {
    snapshot_.reset();
}

QString DataSourceOf(const QString& connectionString) {
    static const QRegularExpression key(QStringLiteral("(?:^|;)\\s*Data\\s+Source\\s*="),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = key.match(connectionString);
    if (!match.hasMatch()) {
        return QString();
    }
    QString value = connectionString.mid(match.capturedEnd()).trimmed();
    if (value.startsWith(u'"') || value.startsWith(u'\'')) {
        const qsizetype close = value.indexOf(value.at(0), 1);
        return close < 0 ? value.mid(1) : value.mid(1, close - 1);
    }
    // The value runs to the next "; Key=" pair, so a path may itself hold a semicolon.
    static const QRegularExpression nextPair(QStringLiteral(";\\s*[A-Za-z][A-Za-z ]*\\s*="));
    const QRegularExpressionMatch next = nextPair.match(value);
    if (next.hasMatch()) {
        value.truncate(next.capturedStart());
    }
    value = value.trimmed();
    if (value.endsWith(u';')) {
        value.chop(1);
    }
    return value.trimmed();
}

}  // namespace ponencias
