#include "Windows.h"

#include <QEvent>
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

void Register(WindowId id, Factory factory) { windowSlots()[id].factory = std::move(factory); }

void Show(WindowId id) {
    Slot& slot = windowSlots()[id];
    if (!Loaded(id)) {
        if (!slot.factory) {
            return;
        }
        ProgramWindow* window = slot.factory();
        try {
            window->Load();
        } catch (...) {
            delete window;
            throw;
        }
        slot.window = window;
        window->adjustSize();
        CentreOnScreen(window);
    }
    slot.window->show();
    slot.window->raise();
    slot.window->activateWindow();
}

void Unload(WindowId id) {
    ProgramWindow* window = Loaded(id);
    if (!window) {
        return;
    }
    window->close();  // WA_DeleteOnClose deletes it once its closing step has run
}

bool IsLoaded(WindowId id) { return Loaded(id) != nullptr; }

ProgramWindow* Loaded(WindowId id) {
    auto found = windowSlots().find(id);
    if (found == windowSlots().end() || !found->second.window || found->second.window->isUnloaded()) {
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
