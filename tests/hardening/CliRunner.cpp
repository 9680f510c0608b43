#include "CliRunner.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QStandardPaths>
#include <csignal>

namespace ponencias::test {

namespace {
QString Setpriv() {
    return QStandardPaths::findExecutable(QStringLiteral("setpriv"));
}
}  // namespace

bool PermissionsApply() {
    return geteuid() != 0 || !Setpriv().isEmpty();
}

CliResult RunCli(const QStringList& arguments, const CliOptions& options) {
    QProcess process;
    QString program = QStringLiteral(PONENCIAS_CLI);
    QStringList all = arguments;
    if (options.asUnprivilegedUser && geteuid() == 0 && !Setpriv().isEmpty()) {
        all = QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                          QStringLiteral("--clear-groups"), program} +
              arguments;
        program = Setpriv();
    }
    if (!options.standardOutputFile.isEmpty()) {
        process.setStandardOutputFile(options.standardOutputFile);
    }
    if (!options.unsetVariables.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& name : options.unsetVariables) {
            environment.remove(name);
        }
        process.setProcessEnvironment(environment);
    }
    if (const qint64 limit = options.fileSizeLimit; limit > 0) {
        // Runs in the child between fork and exec: only async-signal-safe calls.
        process.setChildProcessModifier([limit] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit size{rlim_t(limit), rlim_t(limit)};
            setrlimit(RLIMIT_FSIZE, &size);
        });
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

CliResult RunCli(const QStringList& arguments, bool asUnprivilegedUser) {
    CliOptions options;
    options.asUnprivilegedUser = asUnprivilegedUser;
    return RunCli(arguments, options);
}

}  // namespace ponencias::test
