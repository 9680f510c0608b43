#include "CliRunner.h"

#include <unistd.h>

#include <QStandardPaths>

namespace ponencias::test {

namespace {
QString Setpriv() {
    return QStandardPaths::findExecutable(QStringLiteral("setpriv"));
}
}  // namespace

bool PermissionsApply() {
    return geteuid() != 0 || !Setpriv().isEmpty();
}

CliResult RunCli(const QStringList& arguments, bool asUnprivilegedUser) {
    QProcess process;
    QString program = QStringLiteral(PONENCIAS_CLI);
    QStringList all = arguments;
    if (asUnprivilegedUser && geteuid() == 0 && !Setpriv().isEmpty()) {
        all = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                          QStringLiteral("--clear-groups"), program} +
              arguments;
        program = Setpriv();
    }
    process.start(program, all);
    CliResult result;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitedNormally = process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

}  // namespace ponencias::test
