#include "Form1.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

#include "Form1Controls.h"
#include "QueryFilters.h"
#include "export/ResultSheetExport.h"
#include "export/SpreadsheetApplication.h"

namespace ponencias {

namespace {

// The design is in twips; 15 twips make one pixel at 96 dpi, and Qt scales for other screens.
int Px(int twips) {
    return qRound(twips / 15.0);
}

QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

QFont DesignFont(qreal points, bool bold = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

template <typename Widget>
Widget* Place(QWidget* parent, const char* name, const QRect& geometry) {
    auto* widget = new Widget(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption,
                  const QRect& geometry) {
    auto* label = Place<QLabel>(parent, name, geometry);
    label->setText(caption);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QRect& geometry) {
    auto* button = Place<QPushButton>(parent, name, geometry);
    button->setText(caption);
    // No button of the window is its default: Enter in a list or in the keyword box does not
    // start a search.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace

Form1::Form1(QWidget* parent) : ProgramWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Consulta de Ponencias"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(Px(10800), Px(6900));
    setFont(DesignFont(9));

    // Created in tab order, so the focus chain follows the design; labels take no focus.
    LabelTit =
        MakeLabel(this, "LabelTit", QStringLiteral("Título"), TwipsRect(270, 510, 10305, 630));
    LabelTit->setFont(DesignFont(15.75, true));
    MakeLabel(this, "LabelJornada", QStringLiteral("Número de jornada:"),
              TwipsRect(720, 1320, 1785, 270));
    MakeLabel(this, "LabelEntidad", QStringLiteral("País o entidad:"),
              TwipsRect(6000, 1320, 1575, 255));
    MakeLabel(this, "LabelEjeTem", QStringLiteral("Eje temático:"),
              TwipsRect(120, 2280, 1275, 270));
    MakeLabel(this, "LabelSubTema", QStringLiteral("Subtema:"), TwipsRect(120, 3000, 885, 270));
    MakeLabel(this, "LabelCatSubTema", QStringLiteral("Categoría por subtema:"),
              TwipsRect(120, 3720, 2025, 270));
    MakeLabel(this, "LabelPerfilPon", QStringLiteral("Perfil del ponente:"),
              TwipsRect(120, 4608, 1650, 255));
    MakeLabel(this, "LabelNormatividad", QStringLiteral("Normatividad a modificar:"),
              TwipsRect(120, 5085, 2625, 270));
    MakeLabel(this, "LabelBusq", QStringLiteral("Búsqueda por palabra:"),
              TwipsRect(120, 5565, 2145, 270));

    CommandBuscar = MakeButton(this, "CommandBuscar", QStringLiteral("&Buscar"),
                               TwipsRect(2280, 6285, 1217, 497));
    CommandLimpiar = MakeButton(this, "CommandLimpiar", QStringLiteral("&Limpiar"),
                                TwipsRect(4032, 6285, 1217, 497));
    CommandAtras = MakeButton(this, "CommandAtras", QStringLiteral("&Atrás"),
                              TwipsRect(5796, 6285, 1217, 497));
    CommandSalir = MakeButton(this, "CommandSalir", QStringLiteral("&Salir"),
                              TwipsRect(7560, 6285, 1217, 497));

    JornadaCbo = Place<QComboBox>(this, "JornadaCbo", TwipsRect(120, 1680, 4035, 345));
    EntidadCbo = Place<QComboBox>(this, "EntidadCbo", TwipsRect(5430, 1680, 3000, 345));
    EjeTemCbo = Place<QComboBox>(this, "EjeTemCbo", TwipsRect(120, 2520, 10620, 345));
    SubtemaCbo = Place<QComboBox>(this, "SubtemaCbo", TwipsRect(120, 3240, 10635, 345));
    MakeFreeTextCombo(SubtemaCbo);
    SubtemaCbo->setEditText(QStringLiteral("SubtemaCbo"));
    CatSubTemaCbo = Place<QComboBox>(this, "CatSubTemaCbo", TwipsRect(120, 3960, 10605, 345));
    MakeFreeTextCombo(CatSubTemaCbo);
    CatSubTemaCbo->setEditText(QStringLiteral("CatSubTemaCbo"));
    PerfilPonCbo = Place<QComboBox>(this, "PerfilPonCbo", TwipsRect(2280, 4560, 3960, 345));
    NormatividadCbo = Place<QComboBox>(this, "NormatividadCbo", TwipsRect(2280, 5040, 8428, 345));
    BusquedaTxt = Place<QLineEdit>(this, "BusquedaTxt", TwipsRect(2280, 5520, 3945, 351));
    BusquedaTxt->setMaxLength(std::numeric_limits<int>::max());

    QWidget* const tabOrder[] = {CommandBuscar, CommandLimpiar, CommandAtras,    CommandSalir,
                                 JornadaCbo,    EntidadCbo,     EjeTemCbo,       SubtemaCbo,
                                 CatSubTemaCbo, PerfilPonCbo,   NormatividadCbo, BusquedaTxt};
    for (size_t i = 1; i < std::size(tabOrder); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }

    QComboBox* const combos[] = {JornadaCbo,    EntidadCbo,   EjeTemCbo,      SubtemaCbo,
                                 CatSubTemaCbo, PerfilPonCbo, NormatividadCbo};
    for (size_t i = 0; i < std::size(combos); ++i) {
        lists_[i] = std::make_unique<ComboListControl>(combos[i]);
    }
    keyword_ = std::make_unique<LineEditTextControl>(BusquedaTxt);
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
    exporter_ = ExportResultSheet;

    connect(CommandBuscar, &QPushButton::clicked, this, [this] { RunSearch(); });
    connect(CommandLimpiar, &QPushButton::clicked, this, [this] { filters_->ClearCriteria(); });
    connect(CommandAtras, &QPushButton::clicked, this, [this] { CommandAtrasClick(); });
    connect(CommandSalir, &QPushButton::clicked, this, [this] { CommandSalirClick(); });
}

Form1::~Form1() {
    // The reactions point into the filters; they go before the combos that still hold them.
    filters_.reset();
}

void Form1::Load() {
    LabelTit->setText(QStringLiteral("Consulta de ponencias presentadas en las Mireolas"));
    BusquedaTxt->setToolTip(QStringLiteral(
        "Anote la(s) palabra(s) clave que espera encontrar en la síntesis de las ponencias de su "
        "interés."));
    filters_->ClearFilterLists();
    filters_->LoadFilterLists();
    ObtainSpreadsheetApplication();
    CommandBuscar->setFocus(Qt::OtherFocusReason);
}

void Form1::SetResultExporterForTesting(std::function<void(const QString&)> exporter) {
    exporter_ = std::move(exporter);
}

void Form1::RunSearch() {
    filters_->RunSearch(exporter_);
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
