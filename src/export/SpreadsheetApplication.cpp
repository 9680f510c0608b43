#include "SpreadsheetApplication.h"

#include <QElapsedTimer>

#include "desktop/DesktopAssociations.h"

namespace ponencias {

std::shared_ptr<SpreadsheetApplication> SpreadsheetApp;
std::unique_ptr<SpreadsheetGlobalObject> SpreadsheetGlobal;

namespace {

// The application that was made visible: it keeps running, with its workbooks, after the
// program lets go of its own reference.
std::shared_ptr<SpreadsheetApplication>& Running() {
    static std::shared_ptr<SpreadsheetApplication> running;
    return running;
}

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

void SpreadsheetApplication::Visible(bool visible) {
    visible_ = visible;
    if (visible && registers_) {
        Running() = shared_from_this();
    }
}

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

std::shared_ptr<SpreadsheetApplication> CreateSpreadsheetApplication() {
    return std::make_shared<SpreadsheetApplication>();
}

std::shared_ptr<SpreadsheetApplication> RunningSpreadsheetApplication() {
    if (!Running()) {
        throw SpreadsheetError("no hay una aplicación de hojas de cálculo en marcha");
    }
    return Running();
}

SpreadsheetGlobalObject& GlobalObject() {
    if (!SpreadsheetGlobal) {
        RunningSpreadsheetApplication();  // the global object needs a running application
        SpreadsheetGlobal = std::make_unique<SpreadsheetGlobalObject>(
            []() -> SpreadsheetApplication& { return *RunningSpreadsheetApplication(); });
    }
    return *SpreadsheetGlobal;
}

void ObtainSpreadsheetApplication() {
    DetectExcel();
    SpreadsheetApp = CreateSpreadsheetApplication();
}

void ResetSpreadsheetApplicationsForTesting() {
    SpreadsheetApp.reset();
    Running().reset();
    CachedAnswer().known = false;
}

}  // namespace ponencias
