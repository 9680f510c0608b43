#pragma once

#include <QTemporaryDir>
#include <memory>

namespace ponencias {

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

}  // namespace ponencias
