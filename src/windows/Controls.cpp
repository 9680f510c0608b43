#include "Controls.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>

#include "DocumentLauncher.h"

namespace ponencias {

CaptionLabel::CaptionLabel(QWidget* parent) : QLabel(parent) {
    // Rich text would read the caption's characters as markup.
    setTextFormat(Qt::PlainText);
}

QString CaptionLabel::caption() const {
    return displayText(caption_) == text() ? caption_ : text();
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

bool IsPlainEnter(const QKeyEvent* event) {
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
           (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !event->isAutoRepeat();
}

CommandButton::CommandButton(QWidget* parent) : EnterPressedButton<QPushButton>(parent) {
    setAutoDefault(false);
    setDefault(false);
}

HyperLinkLabel::HyperLinkLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setOpenExternalLinks(false);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QLabel::linkActivated, this, [this] { OpenOnDesktop(url_); });
    render(false);
}

void HyperLinkLabel::setCaption(const QString& caption) {
    caption_ = caption;
    render(hovered_);
}

void HyperLinkLabel::setUrl(const QUrl& url) {
    url_ = url;
    setToolTip(url.toString());
    render(hovered_);
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
