#include "DesktopOpener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace ponencias {

namespace {
DesktopOpener& desktopOpener() {
    static DesktopOpener opener;
    return opener;
}
}  // namespace

bool OpenOnDesktop(const QUrl& url) {
    if (desktopOpener()) {
        return desktopOpener()(url);
    }
    // Qt would start the freedesktop opener with the program's own output streams.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        return QDesktopServices::openUrl(url);
    }
    QProcess process;
    process.setProgram(opener);
    process.setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString()});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}

void SetDesktopOpenerForTesting(DesktopOpener opener) {
    desktopOpener() = std::move(opener);
}

}  // namespace ponencias
