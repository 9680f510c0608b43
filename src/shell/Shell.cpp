#include "Shell.h"

#include <QtGlobal>

#include "Form3.h"
#include "Form4.h"
#include "frmSplash.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void initPonenciasResources() {
    Q_INIT_RESOURCE(ponencias);
}

namespace ponencias {

void RegisterShellWindows() {
    Windows::Register(WindowId::Splash, [] { return new frmSplash; });
    Windows::Register(WindowId::Main, [] { return new Form3; });
    Windows::Register(WindowId::About, [] { return new Form4; });
}

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
