#include "ResultSheetLayout.h"

#include <QUrl>
#include <algorithm>

namespace ponencias {

QString DocumentBaseAddress() {
    return QStringLiteral(PONENCIAS_DOCUMENT_BASE_ADDRESS);
}

QString DocumentAddress(const QString& folio) {
    // Unreserved characters stay as they are; a blank, "#", "?", "/" or a letter outside ASCII
    // would otherwise change or break the address.
    return DocumentBaseAddress() + QString::fromLatin1(QUrl::toPercentEncoding(folio)) +
           QStringLiteral(".doc");
}

bool IsUnlinkedFolio(const QString& folio) {
    const QString text = folio.trimmed();
    bool isNumber = false;
    // A folio is a whole number but for a rare one: read as such, it costs a tenth of a real.
    double number = double(text.toLongLong(&isNumber));
    if (!isNumber) {
        number = text.toDouble(&isNumber);
    }
    return isNumber &&
           std::find(UnlinkedFolios.begin(), UnlinkedFolios.end(), number) != UnlinkedFolios.end();
}

}  // namespace ponencias
