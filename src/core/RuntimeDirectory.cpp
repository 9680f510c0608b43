#include "RuntimeDirectory.h"

#include <QFile>

namespace ponencias {

PrivateRuntimeDirectory::PrivateRuntimeDirectory() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        return;
    }
    directory_ = std::make_unique<QTemporaryDir>();
    if (directory_->isValid()) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(directory_->path()));
    }
}

}  // namespace ponencias
