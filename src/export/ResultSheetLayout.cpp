#include "ResultSheetLayout.h"

#include <QUrl>
#include <algorithm>
#include <string_view>

#include "store/ProposalTable.h"

namespace ponencias {

// The typology document shows the same captions, from the proposal table beside the columns'
// names; the sheet must not drift from it.
static_assert([] {
    std::size_t c = 0;
    for (const ProposalColumn& column : kProposalColumnTable) {
        if (column.sheetCaption != nullptr &&
            (c == kResultColumns.size() ||
             std::string_view(column.sheetCaption) != kResultColumns[c].caption ||
             std::string_view(column.name) != kResultColumns[c++].field)) {
            return false;
        }
    }
    return c == kResultColumns.size();
}());

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
