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
    bool isNumber = false;
    const double number = folio.trimmed().toDouble(&isNumber);
    return isNumber &&
           std::find(UnlinkedFolios.begin(), UnlinkedFolios.end(), number) != UnlinkedFolios.end();
}

}  // namespace ponencias
