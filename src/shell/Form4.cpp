#include "Form4.h"

#include <QPalette>

#include "Controls.h"
#include "ShellResources.h"

namespace ponencias {

namespace {
const QString CR = QString(QChar(13));
const QString CRLF = QStringLiteral("\r\n");
}  // namespace

Form4::Form4() {
    InitShellResources();
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Acerca de la base de datos"));
    // Sizable, with a close box but neither minimise nor maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    resize(ClientSizeInTwips(10440, 7515));

    // Made in tab order; only the button and the link can take the focus.
    LabelParr1 = DesignControl(new CaptionLabel(QStringLiteral("Label1"), this), "LabelParr1",
                               ArialFont(9.75), 360, 1440, 9495, 1545);

    LabelParr3 = DesignControl(new CaptionLabel(QStringLiteral("Label3"), this), "LabelParr3",
                               ArialFont(9.75), 870, 3120, 8985, 1455);

    LabelTit = DesignControl(new CaptionLabel(QStringLiteral("Título"), this), "LabelTit",
                             ArialFont(9.75, true), 360, 360, 9975, 855);

    CommandCerrar = DesignControl(new CommandButton(QStringLiteral("&Cerrar Ventana"), this),
                                  "CommandCerrar", 4440, 7080, 1575, 375);

    LabelParr4 = DesignControl(new CaptionLabel(QStringLiteral("Label4"), this), "LabelParr4",
                               ArialFont(9.75), 360, 4890, 9495, 975);

    // The contact sentence ends on its second line, where the link takes it up.
    LabelParr5 = DesignControl(new CaptionLabel(QStringLiteral("Label5"), this), "LabelParr5",
                               ArialFont(9.75), 375, 6015, 9495, 975);

    HyperLinkLabel1 = DesignControl(
        new HyperLinkLabel(QStringLiteral(" ") + ContactAddress() + QStringLiteral("."),
                           QUrl(QStringLiteral("mailto:") + ContactAddress()), this),
        "HyperLinkLabel1", ArialFont(8.25, true), 6960, 6260, 1935, 255);

    setTabOrder(CommandCerrar, HyperLinkLabel1);
    CommandCerrar->setFocus();

    connect(CommandCerrar, &QAbstractButton::clicked, this, [this] { CommandCerrar_Click(); });
}

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

// A placeholder address on a domain kept for examples: it reaches no one.
QString Form4::ContactAddress() {
    return QStringLiteral("udd@example.org");
}

void Form4::Load() {
    LabelTit->setCaption(Heading());
    LabelParr1->setCaption(Introduction());
    LabelParr3->setCaption(Axes());
    LabelParr4->setCaption(Compilers());
    LabelParr5->setCaption(Contact());
}

void Form4::CommandCerrar_Click() {
    Windows::Unload(WindowId::About);
}

}  // namespace ponencias
