#include "DesktopOpener.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>

namespace ponencias {

namespace {

// A desktop entry that declares one of the types and can be launched.
bool EntryOpensAnyOf(const QString& path, const QStringList& mimeTypes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return false;
    }
    bool inMainGroup = false;
    bool opens = false;
    bool hidden = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(64 * 1024).trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup) {
            continue;
        }
        if (line.startsWith("MimeType=")) {
            const QList<QByteArray> declared = line.mid(9).split(';');
            opens = std::any_of(declared.begin(), declared.end(), [&](const QByteArray& type) {
                return !type.isEmpty() && mimeTypes.contains(QString::fromUtf8(type));
            });
        } else if (line == "Hidden=true") {
            hidden = true;  // a deleted entry; NoDisplay ones still open files
        }
    }
    return opens && !hidden;
}

}  // namespace

bool DesktopHasApplicationFor(const QStringList& mimeTypes) {
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        QDirIterator entries(folder, {QStringLiteral("*.desktop")}, QDir::Files,
                             QDirIterator::Subdirectories);
        while (entries.hasNext()) {
            if (EntryOpensAnyOf(entries.next(), mimeTypes)) {
                return true;
            }
        }
    }
    return false;
}

QStringList DesktopTypesOfFile(const QString& path) {
    // The name and the content may tell different types (a workbook named .xls that holds
    // xlsx); a desktop opener may go by either.
    const QMimeDatabase database;
    QStringList types;
    for (const QMimeType& type : {database.mimeTypeForFile(path),
                                  database.mimeTypeForFile(path, QMimeDatabase::MatchContent)}) {
        types << type.name();
        types += type.aliases();
        types += type.allAncestors();
    }
    types.removeAll(QStringLiteral("application/octet-stream"));
    types.removeAll(QStringLiteral("text/plain"));
    types.removeDuplicates();
    return types;
}

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
