#include "Form1.h"

#include <QCloseEvent>

#include "Form1Controls.h"
#include "QueryFilters.h"
#include "export/ResultHandOver.h"
#include "ui_Form1.h"
#include "windows/FormDesign.h"

namespace ponencias {

Form1::Form1(QWidget* parent) : ProgramWindow(parent), ui(std::make_unique<Ui::Form1>()) {
    ui->setupUi(this);
    SnapDesignedFontsToPixels(this);
    MakeFreeTextCombo(ui->SubtemaCbo);
    MakeFreeTextCombo(ui->CatSubTemaCbo);

    QComboBox* const combos[] = {ui->JornadaCbo,     ui->EntidadCbo,    ui->EjeTemCbo,
                                 ui->SubtemaCbo,     ui->CatSubTemaCbo, ui->PerfilPonCbo,
                                 ui->NormatividadCbo};
    for (size_t i = 0; i < std::size(combos); ++i) {
        lists_[i] = std::make_unique<ComboListControl>(combos[i]);
    }
    keyword_ = std::make_unique<LineEditTextControl>(ui->BusquedaTxt);
    QueryControls controls;
    controls.JornadaCbo = lists_[0].get();
    controls.EntidadCbo = lists_[1].get();
    controls.EjeTemCbo = lists_[2].get();
    controls.SubtemaCbo = lists_[3].get();
    controls.CatSubTemaCbo = lists_[4].get();
    controls.PerfilPonCbo = lists_[5].get();
    controls.NormatividadCbo = lists_[6].get();
    controls.BusquedaTxt = keyword_.get();
    filters_ = std::make_unique<QueryFilters>(controls);

    connect(ui->CommandBuscar, &QPushButton::clicked, this, [this] { RunSearch(); });
    connect(ui->CommandLimpiar, &QPushButton::clicked, this, [this] { filters_->ClearCriteria(); });
    connect(ui->CommandAtras, &QPushButton::clicked, this, [this] { CommandAtrasClick(); });
    connect(ui->CommandSalir, &QPushButton::clicked, this, [this] { CommandSalirClick(); });
}

Form1::~Form1() {
    // The reactions point into the filters; they go before the combos that still hold them.
    filters_.reset();
}

void Form1::Load() {
    ui->LabelTit->setText(QStringLiteral("Consulta de ponencias presentadas en las Mireolas"));
    ui->BusquedaTxt->setToolTip(QStringLiteral(
        "Anote la(s) palabra(s) clave que espera encontrar en la síntesis de las ponencias de su "
        "interés."));
    filters_->ClearFilterLists();
    filters_->LoadFilterLists();
    ui->CommandBuscar->setFocus(Qt::OtherFocusReason);
}

void Form1::RunSearch() {
    ExportResultSheet(filters_->SearchQueryText());
}

void Form1::CommandAtrasClick() {
    close();
    Windows::Show(WindowId::Main);
}

void Form1::CommandSalirClick() {
    close();
    Windows::Unload(WindowId::Splash);
}

void Form1::closeEvent(QCloseEvent* event) {
    // The query window releases nothing: the store slots and the spreadsheet handle stay with
    // the program.
    Windows::Unload(WindowId::Splash);
    event->accept();
}

}  // namespace ponencias
