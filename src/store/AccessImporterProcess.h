#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace ponencias {

// One run of the Access importer, a program of its own started afresh (posix_spawn, never a
// fork of this threaded program): `input` is its standard input, what it writes on descriptor 3
// is collected until it closes it or `limitMs` have passed, when it is killed. Its standard
// output and error go nowhere.
class AccessImporterProcess {
public:
    struct Outcome {
        int setupError = 0;  // errno of preparing the run (pipes, memory); nothing ran
        int startError = 0;  // errno of starting the program; nothing ran
        bool timedOut = false;
        int status = 0;  // as waitpid gives it
        QByteArray received;
    };

    static Outcome Run(const QString& program, const QStringList& arguments,
                       const QByteArray& input, int64_t limitMs);
};

}  // namespace ponencias
