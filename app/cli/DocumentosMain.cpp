// ponencias-documentos: `ponencias-cli documentos` in a program of its own, which ponencias-cli
// starts in its place with its arguments. Printing the documents lays out text with real fonts,
// which needs a GUI application object (on the offscreen platform: it never opens a window) and
// Qt's display libraries; the companion's other commands start without them.
#include <QGuiApplication>

#include "CliSupport.h"
#include "Commands.h"
#include "core/ProgramStart.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const ponencias::PrivateRuntimeDirectory runtime;
    QGuiApplication app(argc, argv);
    return ponencias::cli::RunDocumentosCommand(ponencias::cli::StartCompanion());
}
