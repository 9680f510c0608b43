#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace ponencias::test {

struct CliResult {
    bool exitedNormally = false;  // false: a signal or a hang ended it
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// How the companion is started.
struct CliOptions {
    // When the tests run as root, run as the unprivileged user "nobody", so file permissions
    // apply as they do to an ordinary user.
    bool asUnprivilegedUser = false;
    // Above zero: no file the process writes may grow past this many bytes (RLIMIT_FSIZE, with
    // SIGXFSZ ignored, so a write beyond it fails with EFBIG as on a full disk).
    qint64 fileSizeLimit = 0;
    // Not empty: the standard output goes to this file (/dev/full, or a file that the size
    // limit applies to) instead of being captured.
    QString standardOutputFile;
    // Variables removed from the environment (a cron or ssh session has no XDG_RUNTIME_DIR…).
    QStringList unsetVariables;
};

CliResult RunCli(const QStringList& arguments, const CliOptions& options);
// Runs ponencias-cli with `arguments`, optionally as "nobody" (see CliOptions).
CliResult RunCli(const QStringList& arguments, bool asUnprivilegedUser = false);

// True when RunCli can drop privileges here (running as root with setpriv available), or when
// no drop is needed (not root).
bool PermissionsApply();

}  // namespace ponencias::test
