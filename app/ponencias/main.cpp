// The program: it starts in the splash window and ends when its last window closes. It reads no
// command line, environment variable or settings file.
#include "ProgramWindows.h"
#include "core/ProgramStart.h"
#include "export/widgets/WidgetExportFeedback.h"
#include "shell/Shell.h"
#include "windows/ErrorReport.h"
#include "windows/Windows.h"

int main(int argc, char** argv) {
    const ponencias::PrivateRuntimeDirectory runtime;
    ponencias::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ponencias"));
    QApplication::setApplicationVersion(QStringLiteral(PONENCIAS_VERSION));
    ponencias::InstallSpanishTranslations();
    QApplication::setDesktopFileName(QStringLiteral(PONENCIAS_APP_ID));
    QApplication::setWindowIcon(ponencias::ProgramIcon());
    QApplication::setQuitOnLastWindowClosed(true);

    ponencias::RunReportingErrors([] {
        ponencias::RegisterProgramWindows();
        ponencias::InstallWidgetExportFeedback();
        ponencias::Windows::Show(ponencias::WindowId::Splash);
    });
    return app.Run();
}
