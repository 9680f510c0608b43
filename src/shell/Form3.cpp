#include "Form3.h"

#include <QKeyEvent>

#include "Shell.h"
#include "store/ApplicationFolder.h"
#include "ui_Form3.h"
#include "windows/DocumentLauncher.h"
#include "windows/ErrorReport.h"
#include "windows/FormDesign.h"

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

Form3::Form3() : ui(std::make_unique<Ui::Form3>()) {
    InitShellResources();
    ui->setupUi(this);
    SnapDesignedFontsToPixels(this);
    // The label's background and the list's are the desktop's colours for a text field and for
    // highlighted text, which follow its colour scheme; a form only holds fixed colours.
    QPalette label = ui->LabelInfAdicional->palette();
    label.setColor(QPalette::Window, label.color(QPalette::Base));
    ui->LabelInfAdicional->setPalette(label);
    QPalette list = ui->ListInformacion->palette();
    list.setColor(QPalette::Base, list.color(QPalette::HighlightedText));
    ui->ListInformacion->setPalette(list);
    ui->CommandPesquira->setFocus();

    connect(ui->CommandPesquira, &QAbstractButton::clicked, this,
            [this] { CommandPesquira_Click(); });
    connect(ui->CommandAbrirBase, &QAbstractButton::clicked, this,
            [this] { CommandAbrirBase_Click(); });
    connect(ui->CommandSalir, &QAbstractButton::clicked, this, [this] { CommandSalir_Click(); });
    connect(ui->LabelInfAdicional, &CaptionLabel::clicked, this,
            [this] { LabelInfAdicional_Click(); });
    connect(ui->ListInformacion, &QListWidget::itemClicked, this,
            [this] { ListInformacion_Click(); });
    ui->ListInformacion->installEventFilter(
        new EnterChooses(ui->ListInformacion, [this] { ListInformacion_Click(); }));
}

Form3::~Form3() = default;

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
    return QString::fromUtf8(kDatabaseWorkbookFileName);
}
QString Form3::GlossaryDocument() {
    return QString::fromUtf8(kGlossaryFileName);
}
QString Form3::TypologyDocument() {
    return QString::fromUtf8(kTypologyFileName);
}

void Form3::Load() {
    ui->LabelDescripcion->setCaption(Description());
}

void Form3::CommandPesquira_Click() {
    RunReportingErrors([] { Windows::Replace(WindowId::Main, WindowId::Query); });
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
    ui->ListInformacion->clear();
    // The list hangs below the label, indented by a twenty-fifth of the label's width; the
    // layout is worked out in twips, single precision, as designed.
    const QRect label = ui->LabelInfAdicional->geometry();
    const float labelLeft = static_cast<float>(label.x() * kTwipsPerPixel);
    const float labelTop = static_cast<float>(label.y() * kTwipsPerPixel);
    const float labelWidth = static_cast<float>(label.width() * kTwipsPerPixel);
    const float labelHeight = static_cast<float>(label.height() * kTwipsPerPixel);
    const float left = labelLeft + labelWidth / 25.0f;
    const float top = labelTop + labelHeight;
    ui->ListInformacion->move(TwipsToPixels(left), TwipsToPixels(top));
    ui->ListInformacion->addItems(InformationEntries());
    ui->ListInformacion->clearSelection();
    ui->ListInformacion->setCurrentRow(-1);
    ui->ListInformacion->show();
}

void Form3::ListInformacion_Click() {
    const QList<QListWidgetItem*> selected = ui->ListInformacion->selectedItems();
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
