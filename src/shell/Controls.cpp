#include "Controls.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QtMath>

#include "Desktop.h"

namespace ponencias {

int TwipsToPixels(double twips) {
    return qRound(twips / kTwipsPerPixel);
}

void PlaceInTwips(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                         TwipsToPixels(height));
}

QSize ClientSizeInTwips(int width, int height) {
    return QSize(TwipsToPixels(width), TwipsToPixels(height));
}

QFont ArialFont(double pointSize, bool bold, bool underline) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

CaptionLabel::CaptionLabel(const QString& caption, QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCaption(caption);
}

void CaptionLabel::setCaption(const QString& caption) {
    caption_ = caption;
    setText(displayText(caption));
}

QString CaptionLabel::displayText(const QString& caption) {
    QString shown = caption;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

void CaptionLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void CaptionLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) {
        emit clicked();
    }
}

namespace {
bool isEnterKey(const QKeyEvent* event) {
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
           (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}
}  // namespace

CommandButton::CommandButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    setAutoDefault(false);
    setDefault(false);
}

void CommandButton::keyPressEvent(QKeyEvent* event) {
    if (isEnterKey(event) && !event->isAutoRepeat()) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

PictureButton::PictureButton(const QString& caption, const QString& picture, QWidget* parent)
    : QToolButton(parent) {
    const QPixmap pixmap(picture);
    setIcon(QIcon(pixmap));
    setIconSize(pixmap.size());
    setText(caption);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setAutoRaise(false);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    if (isEnterKey(event) && !event->isAutoRepeat()) {
        click();
        return;
    }
    QToolButton::keyPressEvent(event);
}

HyperLinkLabel::HyperLinkLabel(const QString& caption, const QUrl& url, QWidget* parent)
    : QLabel(parent), caption_(caption), url_(url) {
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setOpenExternalLinks(false);
    setCursor(Qt::PointingHandCursor);
    setToolTip(url.toString());
    connect(this, &QLabel::linkActivated, this, [this] { OpenOnDesktop(url_); });
    render(false);
}

void HyperLinkLabel::enterEvent(QEnterEvent* event) {
    render(true);
    QLabel::enterEvent(event);
}

void HyperLinkLabel::leaveEvent(QEvent* event) {
    render(false);
    QLabel::leaveEvent(event);
}

void HyperLinkLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        render(hovered_);
    }
}

void HyperLinkLabel::render(bool hovered) {
    hovered_ = hovered;
    // Rich text would swallow the caption's leading blank, so the blanks are kept as written.
    const QString colour = palette().color(QPalette::Highlight).name();
    const QString html =
        QStringLiteral(
            "<a href=\"%1\" style=\"color:%2; text-decoration:%3; white-space:pre\">%4</a>")
            .arg(url_.toString(QUrl::FullyEncoded).toHtmlEscaped(), colour,
                 hovered ? QStringLiteral("underline") : QStringLiteral("none"),
                 caption_.toHtmlEscaped());
    if (html != text()) {
        setText(html);
    }
}

}  // namespace ponencias
