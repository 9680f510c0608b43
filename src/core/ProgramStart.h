#pragma once

#include <QTemporaryDir>
#include <memory>

namespace ponencias {

// What a process of the project does before and right after it makes its Qt application object.

// Qt's start-up looks in the runtime directory (XDG_RUNTIME_DIR) for a sandbox's marker and,
// where the session has none (cron, ssh, a root shell), warns on standard error before falling
// back to a shared one under /tmp. Made before the application object, this gives the process a
// private directory of its own (mode 0700, removed at exit) when the session has none, and leaves
// a session's own directory alone.
class PrivateRuntimeDirectory {
public:
    PrivateRuntimeDirectory();

private:
    std::unique_ptr<QTemporaryDir> directory_;
};

// Installs Qt's own Spanish catalogue (qtbase_es from Qt's translations folder) in the running
// application, so Qt's standard texts (dialog buttons, a text box's context menu, the command
// line's help) read in Spanish like the rest of the interface, whatever the user's locale.
// Returns false, leaving Qt's English texts, when the catalogue is not installed.
bool InstallSpanishTranslations();

}  // namespace ponencias
