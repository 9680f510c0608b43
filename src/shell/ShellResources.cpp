#include "ShellResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initPonenciasResources() {
    Q_INIT_RESOURCE(ponencias);
}

namespace ponencias {

void InitShellResources() {
    static const bool done = [] {
        initPonenciasResources();
        return true;
    }();
    (void)done;
}

QIcon ProgramIcon() {
    InitShellResources();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/ponencias/icon-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace ponencias
