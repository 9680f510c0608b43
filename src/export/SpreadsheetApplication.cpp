#include "SpreadsheetApplication.h"

#include <QElapsedTimer>

#include "desktop/DesktopAssociations.h"

namespace ponencias {

std::optional<DesktopSpreadsheets> SpreadsheetApp;

namespace {

struct DesktopAnswer {
    bool known = false;
    DesktopSpreadsheets answer = DesktopSpreadsheets::None;
    QElapsedTimer age;
};

DesktopAnswer& CachedAnswer() {
    static DesktopAnswer answer;
    return answer;
}

}  // namespace

DesktopSpreadsheets DetectExcel() {
    // Installing an application while the program runs is rare; a minute-old answer is fresh
    // enough and spares a scan of the desktop entries at every export.
    constexpr qint64 kFreshMilliseconds = 60 * 1000;
    DesktopAnswer& answer = CachedAnswer();
    if (!answer.known || answer.age.elapsed() > kFreshMilliseconds) {
        if (DesktopHasApplicationFor({QString::fromLatin1(kTemplateMimeType)})) {
            answer.answer = DesktopSpreadsheets::Templates;
        } else if (DesktopHasApplicationFor({QString::fromLatin1(kWorkbookMimeType)})) {
            answer.answer = DesktopSpreadsheets::WorkbooksOnly;
        } else {
            answer.answer = DesktopSpreadsheets::None;
        }
        answer.known = true;
        answer.age.start();
    }
    return answer.answer;
}

SpreadsheetFileKind ResultFileKind(DesktopSpreadsheets desktop) {
    return desktop == DesktopSpreadsheets::Templates ? SpreadsheetFileKind::Template
                                                     : SpreadsheetFileKind::Workbook;
}

void ObtainSpreadsheetApplication() {
    SpreadsheetApp = DetectExcel();
}

void ResetSpreadsheetApplicationsForTesting() {
    SpreadsheetApp.reset();
    CachedAnswer().known = false;
}

}  // namespace ponencias
