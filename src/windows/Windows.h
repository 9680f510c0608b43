#pragma once

#include <QWidget>
#include <functional>

namespace ponencias {

// A top-level window of the program. It is created on first use and loaded before it is
// shown; unloading (closing) it deletes it, so the next showing starts from its design again.
// Its form gives the kind of frame it has (windowFlags), which a plain widget cannot take from a
// form.
class ProgramWindow : public QWidget {
    Q_OBJECT
    Q_PROPERTY(Qt::WindowFlags windowFlags READ windowFlags WRITE setWindowFlags DESIGNABLE false)

public:
    explicit ProgramWindow(QWidget* parent = nullptr);
    // The window's load step: writes its texts and fills its lists. Runs once per loading and
    // may throw (a store failure while loading the query window ends the program).
    virtual void Load() {}
    // True from the moment a close of the window has been accepted: it is unloaded even though
    // Qt deletes the object only later.
    bool isUnloaded() const { return unloaded_; }

protected:
    bool event(QEvent* event) override;

private:
    bool unloaded_ = false;
};

enum class WindowId { Splash, Main, Query, About };

// Which window is loaded, and the two ways windows reach one another: showing one (loading it
// first when it is not loaded) and unloading one. The program ends when its last window closes.
namespace Windows {
using Factory = std::function<ProgramWindow*()>;

// The program registers how each window is made once, at start.
void Register(WindowId id, Factory factory);
// Shows the window, not modally. A window that is not loaded is created, loaded and centred on
// the screen first; if its load step throws, the half-made window is discarded and the
// exception goes on to the caller.
void Show(WindowId id);
// Shows the window modally over every other window and returns once it has been unloaded. A
// window that is not loaded is created, loaded and centred first, as by Show.
void ShowModal(WindowId id);
// Closes the window, which runs its own closing step and deletes it. Does nothing, and loads
// nothing, when the window is not loaded.
void Unload(WindowId id);
// One window takes another's place: `next` is shown first, then `current` unloaded, so the
// program always keeps a window open. A failure while loading `next` leaves `current` as it is.
void Replace(WindowId current, WindowId next);
bool IsLoaded(WindowId id);
// The loaded window, or null.
ProgramWindow* Loaded(WindowId id);
}  // namespace Windows

// Places a window in the centre of the screen it is on.
void CentreOnScreen(QWidget* window);

}  // namespace ponencias
