#pragma once

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "support/Files.h"
#include "support/KeyPresses.h"
#include "windows/ErrorReport.h"
#include "windows/Windows.h"

class QAbstractButton;
class QListWidget;
class QWidget;

namespace ponencias::test {

// A message box that appeared while a MessageBoxWatcher was watching, closed by the watcher.
struct SeenMessage {
    QString title;
    QString text;
    int icon = 0;
};

// Closes every message box as soon as it is shown and keeps what it said.
class MessageBoxWatcher {
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    const std::vector<SeenMessage>& seen() const { return seen_; }

private:
    QTimer timer_;
    std::vector<SeenMessage> seen_;
};

// Stands in for the desktop and records every url handed to it. A failing one fails each
// opening a little later, as an opener that finds no application does.
class DesktopRecorder {
public:
    DesktopRecorder();
    ~DesktopRecorder();
    const std::vector<QUrl>& opened() const { return opened_; }
    void setFailing(bool failing) { failing_ = failing; }

private:
    std::vector<QUrl> opened_;
    bool failing_ = false;
};

// Gives the desktop, for the test's duration, exactly the applications set here: its desktop
// entry folders are a temporary folder's.
class DesktopApplications {
public:
    DesktopApplications();
    // Writes (or rewrites) the entry of an application that opens the given MIME types.
    void set(const QString& name, const QStringList& mimeTypes, bool hidden = false);
    QString folder() const;

private:
    QTemporaryDir root_;
    ScopedEnvironment environment_;
};

// A query window that loads nothing and counts its loadings.
class FakeQueryWindow : public ProgramWindow {
public:
    static int loads;
    FakeQueryWindow();
    void Load() override;
};

// Registers the shell's windows and the fake query window, with every window unloaded.
void RegisterWindowsForTest();
// Unloads every window and lets Qt delete them.
void UnloadEverything();

// Runs the program's event loop with `steps` as its first event, until the program ends by
// itself; gives exec()'s status, or -1 when it had to be stopped after `timeoutMs`.
int RunProgram(const std::function<void()>& steps, int timeoutMs = 10000);

// The named control of a loaded window.
template <typename T = QWidget>
T* Control(WindowId id, const char* name) {
    ProgramWindow* window = Windows::Loaded(id);
    return window ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

// Waits for a window to become the active one (keys go to the active window).
bool WaitActive(QWidget* window);
// The object names met by pressing Tab from the window's focus widget, starting with it, until
// the focus comes back round.
QStringList TabCycle(QWidget* window);
// Clicks a list entry with the mouse.
void ClickListEntry(QListWidget* list, int row);

// Every shell test starts with the test windows registered and no failure reported, and leaves
// no window behind.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterWindowsForTest();
        ResetUnhandledErrorForTesting();
    }
    void TearDown() override {
        UnloadEverything();
        ResetUnhandledErrorForTesting();
    }
};

}  // namespace ponencias::test
