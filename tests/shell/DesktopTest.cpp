// The desktop's opener, run for real: a stand-in `xdg-open` found first on the PATH.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "ShellTestSupport.h"
#include "windows/Desktop.h"

namespace ponencias::test {
namespace {

// Sends the program's standard output and error to a file while it lives.
class CapturedOutput {
public:
    explicit CapturedOutput(const QString& path) {
        std::fflush(stdout);
        std::fflush(stderr);
        file_ = std::fopen(QFile::encodeName(path).constData(), "w");
        savedOut_ = dup(STDOUT_FILENO);
        savedErr_ = dup(STDERR_FILENO);
        dup2(fileno(file_), STDOUT_FILENO);
        dup2(fileno(file_), STDERR_FILENO);
    }
    ~CapturedOutput() {
        std::fflush(stdout);
        std::fflush(stderr);
        dup2(savedOut_, STDOUT_FILENO);
        dup2(savedErr_, STDERR_FILENO);
        close(savedOut_);
        close(savedErr_);
        std::fclose(file_);
    }

private:
    std::FILE* file_;
    int savedOut_;
    int savedErr_;
};

TEST(DesktopTest, TheOpenerGetsTheDocumentAndNothingItPrintsReachesTheProgramsOutput) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString handed = folder.filePath(QStringLiteral("recibido.txt"));
    const QString captured = folder.filePath(QStringLiteral("salida.txt"));
    {
        QFile opener(folder.filePath(QStringLiteral("xdg-open")));
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write(QStringLiteral("#!/bin/sh\necho 'sin visor'\necho 'xdg-open: fallo' >&2\n"
                                    "printf '%s' \"$1\" > '%1.tmp' && mv '%1.tmp' '%1'\n")
                         .arg(handed)
                         .toUtf8());
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(folder.path()) + ':' + oldPath);
    const QString document = folder.filePath(QStringLiteral("Glosario de términos.pdf"));
    bool taken = false;
    bool arrived = false;
    {
        CapturedOutput output(captured);
        taken = OpenOnDesktop(QUrl::fromLocalFile(document));
        arrived = QTest::qWaitFor([&] { return QFile::exists(handed); }, 5000);
    }
    qputenv("PATH", oldPath);

    EXPECT_TRUE(taken);
    ASSERT_TRUE(arrived);
    QFile received(handed);
    ASSERT_TRUE(received.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(received.readAll()), document);
    QFile output(captured);
    ASSERT_TRUE(output.open(QIODevice::ReadOnly));
    EXPECT_EQ(output.readAll(), QByteArray());
}

}  // namespace
}  // namespace ponencias::test
