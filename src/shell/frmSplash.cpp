#include "frmSplash.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>

#include "Controls.h"
#include "ErrorReport.h"
#include "ShellResources.h"

namespace ponencias {

frmSplash::frmSplash() {
    InitShellResources();
    setObjectName(QStringLiteral("frmSplash"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QString());
    setFixedSize(ClientSizeInTwips(7335, 4185));

    // The controls are made in tab order; the frame and the texts never take the focus.
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Frame1->setFont(ArialFont(8.25));
    PlaceInTwips(Frame1, 0, 0, 7335, 4095);

    CommandSalir = DesignControl(new CommandButton(QStringLiteral("&Salir"), Frame1),
                                 "CommandSalir", ArialFont(8.25), 5880, 3480, 1215, 375);

    CommandEntrar = DesignControl(new CommandButton(QStringLiteral("&Entrar"), Frame1),
                                  "CommandEntrar", ArialFont(8.25), 4440, 3480, 1215, 375);

    LabelTit = new CaptionLabel(QStringLiteral("Título"), Frame1);
    LabelTit->setObjectName(QStringLiteral("LabelTit"));
    LabelTit->setFont(ArialFont(12, true));
    LabelTit->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    PlaceInTwips(LabelTit, 510, 1530, 6510, 1335);

    // The logo at its own size inside a single-line border of two pixels a side.
    imgLogo = new QLabel(Frame1);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setFrameStyle(QFrame::Box | QFrame::Plain);
    imgLogo->setLineWidth(1);
    imgLogo->setMargin(1);
    imgLogo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imgLogo->setPixmap(QPixmap(QStringLiteral(":/ponencias/splash-logo.gif")));
    PlaceInTwips(imgLogo, 2640, 240, 2310, 945);

    setTabOrder(CommandSalir, CommandEntrar);
    CommandSalir->setFocus();

    connect(CommandEntrar, &QAbstractButton::clicked, this, [this] { CommandEntrar_Click(); });
    connect(CommandSalir, &QAbstractButton::clicked, this, [this] { CommandSalir_Click(); });
}

QString frmSplash::Title() {
    return QStringLiteral("BASE DE DATOS DE LAS MIREOLAS") + QChar(13) + QChar(13) +
           QStringLiteral("Reflexión y análisis para la modernización y reforma electorales");
}

void frmSplash::Load() {
    LabelTit->setCaption(Title());
}

void frmSplash::CommandEntrar_Click() {
    RunReportingErrors([] {
        // The main window is shown before the splash goes, so the program always keeps a window.
        Windows::Show(WindowId::Main);
        Windows::Unload(WindowId::Splash);
    });
}

void frmSplash::CommandSalir_Click() {
    Windows::Unload(WindowId::Splash);
}

}  // namespace ponencias
