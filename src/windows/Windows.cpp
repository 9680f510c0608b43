#include "Windows.h"

#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <map>

namespace ponencias {

ProgramWindow::ProgramWindow(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
}

bool ProgramWindow::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::Close && event->isAccepted()) {
        unloaded_ = true;
    }
    return handled;
}

namespace {
struct Slot {
    Windows::Factory factory;
    QPointer<ProgramWindow> window;
};
std::map<WindowId, Slot>& windowSlots() {
    static std::map<WindowId, Slot> registry;
    return registry;
}
}  // namespace

namespace Windows {

void Register(WindowId id, Factory factory) {
    windowSlots()[id].factory = std::move(factory);
}

namespace {
// Ends a modal wait as soon as the window has been unloaded: its close hides it before Qt gets
// round to deleting it, and the wait must not depend on when that happens.
class UnloadWatch : public QObject {
public:
    UnloadWatch(ProgramWindow* window, QEventLoop* loop) : window_(window), loop_(loop) {
        window->installEventFilter(this);
        QObject::connect(window, &QObject::destroyed, loop, &QEventLoop::quit);
    }
    ~UnloadWatch() override {
        if (window_) {
            window_->removeEventFilter(this);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide) {
            // While Qt destroys the window it is no longer a ProgramWindow; the cast says so.
            const auto* window = dynamic_cast<const ProgramWindow*>(watched);
            if (window && window->isUnloaded()) {
                loop_->quit();
            }
        }
        return false;
    }

private:
    QPointer<QObject> window_;
    QEventLoop* loop_;
};

// The loaded window, loading it first when it is not; null when nothing can make it.
ProgramWindow* loadWindow(WindowId id) {
    Slot& slot = windowSlots()[id];
    if (!Loaded(id)) {
        if (!slot.factory) {
            return nullptr;
        }
        ProgramWindow* window = slot.factory();
        try {
            window->Load();
        } catch (...) {
            delete window;
            throw;
        }
        slot.window = window;
        // A window that fixed its own client size keeps it; Qt's guess would also cap it at two
        // thirds of the screen.
        if (!window->testAttribute(Qt::WA_Resized)) {
            window->adjustSize();
        }
        CentreOnScreen(window);
    }
    return slot.window.data();
}
}  // namespace

void Show(WindowId id) {
    ProgramWindow* window = loadWindow(id);
    if (!window) {
        return;
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void ShowModal(WindowId id) {
    QPointer<ProgramWindow> window = loadWindow(id);
    if (!window) {
        return;
    }
    if (!window->isVisible()) {
        window->setWindowModality(Qt::ApplicationModal);
    }
    QEventLoop loop;
    UnloadWatch watch(window, &loop);
    window->show();
    window->raise();
    window->activateWindow();
    if (window && !window->isUnloaded()) {
        loop.exec(QEventLoop::DialogExec);
    }
}

void Unload(WindowId id) {
    ProgramWindow* window = Loaded(id);
    if (!window) {
        return;
    }
    window->close();  // WA_DeleteOnClose deletes it once its closing step has run
}

void Replace(WindowId current, WindowId next) {
    Show(next);
    Unload(current);
}

bool IsLoaded(WindowId id) {
    return Loaded(id) != nullptr;
}

ProgramWindow* Loaded(WindowId id) {
    auto found = windowSlots().find(id);
    if (found == windowSlots().end() || !found->second.window ||
        found->second.window->isUnloaded()) {
        return nullptr;
    }
    return found->second.window.data();
}

}  // namespace Windows

void CentreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    const QRect available = screen->availableGeometry();
    QRect frame = window->frameGeometry();
    frame.moveCenter(available.center());
    window->move(frame.topLeft());
}

}  // namespace ponencias
