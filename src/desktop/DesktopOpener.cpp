#include "DesktopOpener.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace ponencias {

namespace {

DesktopOpener& desktopOpener() {
    static DesktopOpener opener;
    return opener;
}

// The failure is told from the event loop, never inside the handler that asked for the opening.
void RunLater(const std::function<void()>& failed) {
    if (failed && QCoreApplication::instance()) {
        QTimer::singleShot(0, QCoreApplication::instance(), failed);
    }
}

}  // namespace

void OpenOnDesktop(const QUrl& url, std::function<void()> failed) {
    if (desktopOpener()) {
        desktopOpener()(url, [failed] { RunLater(failed); });
        return;
    }
    // Qt would start the freedesktop opener with the program's own output streams, and would
    // not say how it ended.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(url)) {
            RunLater(failed);
        }
        return;
    }
    // Let go when it ends. One still running when the program ends is left running: the
    // application it started is the user's, and must not go down with the program.
    auto* process = new QProcess;
    process->setProgram(opener);
    process->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString()});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process,
                     [process, failed](int status, QProcess::ExitStatus exit) {
                         process->deleteLater();
                         if (exit != QProcess::NormalExit || status != 0) {
                             RunLater(failed);
                         }
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, failed](QProcess::ProcessError error) {
                         // A crash also ends it, and is told there.
                         if (error == QProcess::FailedToStart) {
                             process->deleteLater();
                             RunLater(failed);
                         }
                     });
    process->start();
}

void SetDesktopOpenerForTesting(DesktopOpener opener) {
    desktopOpener() = std::move(opener);
}

}  // namespace ponencias
