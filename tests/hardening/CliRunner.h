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

// Runs ponencias-cli with `arguments`. With `asUnprivilegedUser` and when the tests run as
// root, it runs as the unprivileged user "nobody", so file permissions apply to it as they do
// to an ordinary user.
CliResult RunCli(const QStringList& arguments, bool asUnprivilegedUser = false);

// True when RunCli can drop privileges here (running as root with setpriv available), or when
// no drop is needed (not root).
bool PermissionsApply();

}  // namespace ponencias::test
