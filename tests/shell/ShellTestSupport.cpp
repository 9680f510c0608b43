#include "ShellTestSupport.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTest>

#include "shell/Shell.h"
#include "windows/DocumentLauncher.h"

namespace ponencias::test {

MessageBoxWatcher::MessageBoxWatcher() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box && box->isVisible()) {
                seen_.push_back({box->windowTitle(), box->text(), static_cast<int>(box->icon())});
                box->done(QMessageBox::Ok);
            }
        }
    });
    timer_.start();
}

MessageBoxWatcher::~MessageBoxWatcher() {
    timer_.stop();
}

DesktopRecorder::DesktopRecorder() {
    SetDesktopOpenerForTesting([this](const QUrl& url, const std::function<void()>& failed) {
        opened_.push_back(url);
        if (failing_) {
            // As the opener does: it fails a while after it was started.
            QTimer::singleShot(20, failed);
        }
    });
}

DesktopRecorder::~DesktopRecorder() {
    SetDesktopOpenerForTesting({});
}

DesktopApplications::DesktopApplications() {
    EXPECT_TRUE(root_.isValid());
    // The file types stay the system's: its MIME database is found through the same folders.
    const QString types =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("mime"),
                               QStandardPaths::LocateDirectory);
    EXPECT_FALSE(types.isEmpty()) << "no MIME database on this system";
    QDir().mkpath(folder());
    EXPECT_TRUE(QFile::link(types, root_.filePath(QStringLiteral("share/mime"))));
    environment_.set("XDG_DATA_HOME", root_.filePath(QStringLiteral("home")));
    environment_.set("XDG_DATA_DIRS", root_.filePath(QStringLiteral("share")));
}

QString DesktopApplications::folder() const {
    return root_.filePath(QStringLiteral("share/applications"));
}

void DesktopApplications::set(const QString& name, const QStringList& mimeTypes, bool hidden) {
    QFile entry(folder() + QLatin1Char('/') + name + QStringLiteral(".desktop"));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const QString text = QStringLiteral(
                             "[Desktop Entry]\nType=Application\nName=%1\nExec=%1 %U\n"
                             "MimeType=%2;\n%3")
                             .arg(name, mimeTypes.join(QLatin1Char(';')),
                                  hidden ? QStringLiteral("Hidden=true\n") : QString());
    ASSERT_GT(entry.write(text.toUtf8()), 0);
}

int FakeQueryWindow::loads = 0;

FakeQueryWindow::FakeQueryWindow() {
    setObjectName(QStringLiteral("Form1"));
    resize(400, 300);
}

void FakeQueryWindow::Load() {
    ++loads;
}

void UnloadEverything() {
    for (WindowId id : {WindowId::About, WindowId::Query, WindowId::Main, WindowId::Splash}) {
        Windows::Unload(id);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void RegisterWindowsForTest() {
    UnloadEverything();
    RegisterShellWindows();
    FakeQueryWindow::loads = 0;
    Windows::Register(WindowId::Query, [] { return new FakeQueryWindow; });
}

int RunProgram(const std::function<void()>& steps, int timeoutMs) {
    bool timedOut = false;
    QTimer::singleShot(0, steps);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&timedOut] {
        timedOut = true;
        QCoreApplication::exit(-1);
    });
    watchdog.start(timeoutMs);
    const int status = QApplication::exec();
    return timedOut ? -1 : status;
}

bool WaitActive(QWidget* window) {
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

QStringList TabCycle(QWidget* window) {
    QStringList names;
    QWidget* first = window->focusWidget();
    QWidget* current = first;
    for (int i = 0; current && i < 20; ++i) {
        // A control that holds several stops (the links of a link label) is named once.
        if (names.isEmpty() || names.last() != current->objectName()) {
            names << current->objectName();
        }
        QTest::keyClick(current, Qt::Key_Tab);
        current = window->focusWidget();
        if (current == first) {
            break;
        }
    }
    return names;
}

void ClickListEntry(QListWidget* list, int row) {
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

}  // namespace ponencias::test
