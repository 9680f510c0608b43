// The desktop's opener, run for real: a stand-in `xdg-open` found first on the PATH.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "ShellTestSupport.h"
#include "support/Files.h"
#include "windows/DocumentLauncher.h"

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

// Puts an `xdg-open` made of `script` first on the PATH while it lives.
class FakeOpener {
public:
    explicit FakeOpener(const QString& script) {
        EXPECT_TRUE(folder_.isValid());
        const QString opener = folder_.filePath(QStringLiteral("xdg-open"));
        WriteWholeFile(opener, "#!/bin/sh\n" + script.toUtf8());
        QFile::setPermissions(opener, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        path_.set("PATH", folder_.path() + u':' + qEnvironmentVariable("PATH"));
    }
    QString file(const char* name) const { return folder_.filePath(QString::fromUtf8(name)); }

private:
    QTemporaryDir folder_;
    ScopedEnvironment path_;
};

TEST(DesktopTest, TheOpenerGetsTheDocumentAndNothingItPrintsReachesTheProgramsOutput) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString handed = folder.filePath(QStringLiteral("recibido.txt"));
    const QString captured = folder.filePath(QStringLiteral("salida.txt"));
    const FakeOpener opener(QStringLiteral("echo 'sin visor'\necho 'xdg-open: fallo' >&2\n"
                                           "printf '%s' \"$1\" > '%1.tmp' && mv '%1.tmp' '%1'\n")
                                .arg(handed));
    const QString document = folder.filePath(QStringLiteral("Glosario de términos.pdf"));
    bool failed = false;
    bool arrived = false;
    {
        CapturedOutput output(captured);
        OpenOnDesktop(QUrl::fromLocalFile(document), [&failed] { failed = true; });
        arrived = QTest::qWaitFor([&] { return QFile::exists(handed); }, 5000);
        QTest::qWait(100);  // the opener's end is seen, and is no failure
    }

    ASSERT_TRUE(arrived);
    EXPECT_FALSE(failed);
    EXPECT_EQ(QString::fromUtf8(ReadWholeFile(handed)), document);
    EXPECT_EQ(ReadWholeFile(captured), QByteArray());
}

// As xdg-open without an application for the type (a while, then status 4), or an opener killed
// on its way: the caller goes on at once; the failure comes once, from the event loop, when the
// opener has ended.
TEST(DesktopTest, AnOpenerThatFailsOrIsKilledIsToldLaterWithoutTheCallerWaiting) {
    for (const char* script :
         {"sleep 0.3\necho \"xdg-open: no method available for opening '$1'\" >&2\nexit 4\n",
          "sleep 0.3\nkill -KILL $$\n"}) {
        SCOPED_TRACE(script);
        const FakeOpener opener(QString::fromUtf8(script));
        int failures = 0;
        OpenOnDesktop(QUrl::fromLocalFile(opener.file("Glosario de términos.pdf")),
                      [&failures] { ++failures; });
        QCoreApplication::processEvents();
        EXPECT_EQ(failures, 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return failures > 0; }, 5000));
        QTest::qWait(50);
        EXPECT_EQ(failures, 1);
    }
}

}  // namespace
}  // namespace ponencias::test
