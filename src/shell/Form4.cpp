#include "Form4.h"

#include "ui_Form4.h"
#include "windows/FormDesign.h"

namespace ponencias {

namespace {
const QString CR = QString(QChar(13));
const QString CRLF = QStringLiteral("\r\n");
}  // namespace

Form4::Form4() : ui(std::make_unique<Ui::Form4>()) {
    ui->setupUi(this);
    SnapDesignedFontsToPixels(this);
    ui->CommandCerrar->setFocus();

    connect(ui->CommandCerrar, &QAbstractButton::clicked, this, [this] { CommandCerrar_Click(); });
}

Form4::~Form4() = default;

QString Form4::Heading() {
    return QStringLiteral("Mireolas") + CR +
           QStringLiteral("Reflexión y Análisis para la Modernización y Reforma Electorales") + CR +
           QStringLiteral("Presentación") + CR;
}

QString Form4::Introduction() {
    return QStringLiteral(
        "Las Mireolas fueron diseñadas, supervisadas y evaluadas por el Grupo de Trabajo para la "
        "Modernización y Reforma Electorales del Instituto, en el seno de su Comisión de Estudios "
        "Electorales, integrada por consejeros electorales, representantes de los partidos "
        "políticos y consejeros del Poder Legislativo. La base de datos reúne 3420 propuestas de "
        "mexicanos residentes en el territorio nacional y en el extranjero, presentadas entre el "
        "25 de abril y el 27 de julio de 2007; cada una de ellas está clasificada en los ejes "
        "temáticos siguientes:");
}

QString Form4::Axes() {
    return QStringLiteral("1.  Procedimientos electorales") + CRLF +
           QStringLiteral("2.  Generación y difusión de resultados electorales ") + CRLF +
           QStringLiteral("3.  Campañas, condiciones de equidad y medios de comunicación") + CRLF +
           QStringLiteral(
               "4.  Régimen de partidos y agrupaciones políticas nacionales: "
               "prerrogativas y obligaciones") +
           CRLF + QStringLiteral("5.  Participación ciudadana") + CRLF +
           QStringLiteral("6.  Resolución de disputas, justicia electoral y sanciones");
}

QString Form4::Compilers() {
    return QStringLiteral(
        "La Unidad de Desarrollo Democrático del Instituto integró esta base de datos a petición "
        "de la Comisión de Estudios Electorales, con el propósito de poner las reflexiones y "
        "propuestas a disposición de la ciudadanía, del Consejo General del Instituto y del "
        "Congreso de la Unión, como una contribución al debate nacional sobre la modernización y "
        "reforma electorales.");
}

QString Form4::Contact() {
    return QStringLiteral(
        "Le invitamos a enviar sus comentarios o solicitudes de aclaración a la Oficina de "
        "Análisis de la Unidad de Desarrollo Democrático, al teléfono (55) 5555 0100, ext. 1234, "
        "o al correo: ");
}

void Form4::Load() {
    ui->LabelTit->setCaption(Heading());
    ui->LabelParr1->setCaption(Introduction());
    ui->LabelParr3->setCaption(Axes());
    ui->LabelParr4->setCaption(Compilers());
    ui->LabelParr5->setCaption(Contact());
}

void Form4::CommandCerrar_Click() {
    Windows::Unload(WindowId::About);
}

}  // namespace ponencias
