#include "Form3.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPalette>

#include "Controls.h"
#include "Desktop.h"
#include "ErrorReport.h"
#include "ShellResources.h"

namespace ponencias {

namespace {
// Reads a Return or Enter key on the information list as a choice of its current entry, so the
// keyboard reaches what a click reaches.
class EnterChooses : public QObject {
public:
    EnterChooses(QObject* parent, std::function<void()> choose)
        : QObject(parent), choose_(std::move(choose)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                !key->isAutoRepeat()) {
                choose_();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> choose_;
};
}  // namespace

Form3::Form3() {
    InitShellResources();
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Consulta de ponencias"));
    setFont(ArialFont(8.25));
    resize(ClientSizeInTwips(10440, 4800));

    // The controls are made in tab order; the labels never take the focus.
    CommandPesquira =
        DesignControl(new PictureButton(QStringLiteral("&Consulta de ponencias"),
                                        QStringLiteral(":/ponencias/consulta.gif"), this),
                      "CommandPesquira", ArialFont(9), 840, 1800, 2175, 855);

    LabelDescripcion = DesignControl(new CaptionLabel(Description(), this), "LabelDescripcion",
                                     ArialFont(12, true), 600, 240, 9495, 1215);

    CommandAbrirBase =
        DesignControl(new PictureButton(QStringLiteral("&Abrir base de datos"),
                                        QStringLiteral(":/ponencias/abrir-base.gif"), this),
                      "CommandAbrirBase", ArialFont(9), 4200, 1800, 2175, 855);

    CommandSalir = DesignControl(
        new PictureButton(QStringLiteral("&Salir"), QStringLiteral(":/ponencias/salir.gif"), this),
        "CommandSalir", ArialFont(9), 7440, 1800, 2175, 855);

    LabelInfAdicional = new CaptionLabel(QStringLiteral("Información adicional"), this);
    LabelInfAdicional->setObjectName(QStringLiteral("LabelInfAdicional"));
    LabelInfAdicional->setFont(ArialFont(14.25, false, true));
    LabelInfAdicional->setWordWrap(false);
    LabelInfAdicional->setAutoFillBackground(true);
    LabelInfAdicional->setCursor(Qt::PointingHandCursor);
    {
        QPalette palette = LabelInfAdicional->palette();
        palette.setColor(QPalette::WindowText, QColor(0, 128, 0));
        palette.setColor(QPalette::Window, palette.color(QPalette::Base));
        LabelInfAdicional->setPalette(palette);
    }
    PlaceInTwips(LabelInfAdicional, 4080, 2880, 2775, 375);

    ListInformacion = new QListWidget(this);
    ListInformacion->setObjectName(QStringLiteral("ListInformacion"));
    ListInformacion->setFont(ArialFont(11.25));
    ListInformacion->setSelectionMode(QAbstractItemView::SingleSelection);
    ListInformacion->setSortingEnabled(false);
    ListInformacion->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    {
        QPalette palette = ListInformacion->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::HighlightedText));
        ListInformacion->setPalette(palette);
    }
    PlaceInTwips(ListInformacion, 4200, 3240, 2535, 795);
    ListInformacion->hide();

    setTabOrder(CommandPesquira, CommandAbrirBase);
    setTabOrder(CommandAbrirBase, CommandSalir);
    setTabOrder(CommandSalir, ListInformacion);
    CommandPesquira->setFocus();

    connect(CommandPesquira, &QAbstractButton::clicked, this, [this] { CommandPesquira_Click(); });
    connect(CommandAbrirBase, &QAbstractButton::clicked, this,
            [this] { CommandAbrirBase_Click(); });
    connect(CommandSalir, &QAbstractButton::clicked, this, [this] { CommandSalir_Click(); });
    connect(LabelInfAdicional, &CaptionLabel::clicked, this, [this] { LabelInfAdicional_Click(); });
    connect(ListInformacion, &QListWidget::itemClicked, this, [this] { ListInformacion_Click(); });
    ListInformacion->installEventFilter(
        new EnterChooses(ListInformacion, [this] { ListInformacion_Click(); }));
}

QString Form3::Description() {
    return QStringLiteral(
        "La base de datos de las Mireolas sistematiza y clasifica 3420 propuestas en materia "
        "electoral de mexicanos residentes en el territorio nacional y el extranjero. El periodo "
        "de presentación fue del 25 de abril al 27 de julio de 2007.");
}

const QStringList& Form3::InformationEntries() {
    static const QStringList entries{QStringLiteral("Presentación"), QStringLiteral("Glosario"),
                                     QStringLiteral("Tipología de variables")};
    return entries;
}

QString Form3::DatabaseDocument() {
    return QStringLiteral("Ponencias.xls");
}
QString Form3::GlossaryDocument() {
    return QStringLiteral("Glosario de términos.pdf");
}
QString Form3::TypologyDocument() {
    return QStringLiteral("Tipología de Variables.pdf");
}

void Form3::Load() {
    LabelDescripcion->setCaption(Description());
}

void Form3::CommandPesquira_Click() {
    RunReportingErrors([] {
        // The query window takes this window's place; it is shown first so that a window is
        // always open.
        Windows::Show(WindowId::Query);
        Windows::Unload(WindowId::Main);
    });
}

void Form3::CommandAbrirBase_Click() {
    RunReportingErrors([this] { OpenAppDocument(this, DatabaseDocument()); });
}

void Form3::CommandSalir_Click() {
    // The splash is long gone by now; unloading it is harmless and loads nothing.
    Windows::Unload(WindowId::Splash);
    Windows::Unload(WindowId::Main);
}

void Form3::LabelInfAdicional_Click() {
    ListInformacion->clear();
    // The list hangs below the label, indented by a twenty-fifth of the label's width; the
    // layout is worked out in twips, single precision, as designed.
    const float labelLeft = static_cast<float>(LabelInfAdicional->x() * kTwipsPerPixel);
    const float labelTop = static_cast<float>(LabelInfAdicional->y() * kTwipsPerPixel);
    const float labelWidth = static_cast<float>(LabelInfAdicional->width() * kTwipsPerPixel);
    const float labelHeight = static_cast<float>(LabelInfAdicional->height() * kTwipsPerPixel);
    const float left = labelLeft + labelWidth / 25.0f;
    const float top = labelTop + labelHeight;
    ListInformacion->move(TwipsToPixels(left), TwipsToPixels(top));
    ListInformacion->addItems(InformationEntries());
    ListInformacion->clearSelection();
    ListInformacion->setCurrentRow(-1);
    ListInformacion->show();
}

void Form3::ListInformacion_Click() {
    const QList<QListWidgetItem*> selected = ListInformacion->selectedItems();
    const QString choice = selected.isEmpty() ? QString() : selected.first()->text();
    RunReportingErrors([this, &choice] {
        const QStringList& entries = InformationEntries();
        if (choice == entries.at(0)) {
            Windows::ShowModal(WindowId::About);
        } else if (choice == entries.at(1)) {
            OpenAppDocument(this, GlossaryDocument());
        } else if (choice == entries.at(2)) {
            OpenAppDocument(this, TypologyDocument());
        }
    });
}

}  // namespace ponencias
