#include "frmSplash.h"

#include "Shell.h"
#include "ui_frmSplash.h"
#include "windows/ErrorReport.h"
#include "windows/FormDesign.h"

namespace ponencias {

frmSplash::frmSplash() : ui(std::make_unique<Ui::frmSplash>()) {
    InitShellResources();
    ui->setupUi(this);
    SnapDesignedFontsToPixels(this);
    ui->CommandSalir->setFocus();

    connect(ui->CommandEntrar, &QAbstractButton::clicked, this, [this] { CommandEntrar_Click(); });
    connect(ui->CommandSalir, &QAbstractButton::clicked, this, [this] { CommandSalir_Click(); });
}

frmSplash::~frmSplash() = default;

QString frmSplash::Title() {
    return QStringLiteral("BASE DE DATOS DE LAS MIREOLAS") + QChar(13) + QChar(13) +
           QStringLiteral("Reflexión y análisis para la modernización y reforma electorales");
}

void frmSplash::Load() {
    ui->LabelTit->setCaption(Title());
}

void frmSplash::CommandEntrar_Click() {
    RunReportingErrors([] { Windows::Replace(WindowId::Splash, WindowId::Main); });
}

void frmSplash::CommandSalir_Click() {
    Windows::Unload(WindowId::Splash);
}

}  // namespace ponencias
