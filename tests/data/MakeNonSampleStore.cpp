// Writes the small non-sample proposals database to the path given, for the test that builds
// the application folder from another data file.
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "NonSampleStore.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString target = app.arguments().value(1);
    if (target.isEmpty()) {
        std::fputs("usage: make-non-sample-store FILE\n", stderr);
        return 1;
    }
    const ponencias::test::TemporaryStore store(ponencias::test::NonSampleProposals());
    QFile::remove(target);
    if (!QFile::copy(store.path(), target)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(target));
        return 1;
    }
    return 0;
}
