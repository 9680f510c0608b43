#pragma once

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QToolButton>
#include <QUrl>

namespace ponencias {

// The controls the windows' forms promote where a standard widget would behave otherwise than
// designed. Each is made with its parent only, as a form makes it; the form then sets its
// properties.

// A static text. Its caption is kept exactly as written, carriage returns and all; a carriage
// return alone or followed by a line feed starts a new line on screen. Clicking it emits
// clicked().
class CaptionLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)

public:
    explicit CaptionLabel(QWidget* parent);
    // The caption last given; a text the form wrote with setText (it holds no carriage return)
    // is the caption as it stands.
    QString caption() const;
    void setCaption(const QString& caption);
    // The caption as drawn: every line break a plain "\n".
    static QString displayText(const QString& caption);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString caption_;
    bool pressed_ = false;
};

// Whether a key press is Return or Enter, unmodified and not repeated.
bool IsPlainEnter(const QKeyEvent* event);

// A button that Enter presses, as Space does.
template <typename Button>
class EnterPressedButton : public Button {
public:
    explicit EnterPressedButton(QWidget* parent) : Button(parent) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (IsPlainEnter(event)) {
            this->click();
            return;
        }
        Button::keyPressEvent(event);
    }
};

// A command button. It is never a default or cancel button, so Esc does nothing and Enter acts
// only on the focused button.
class CommandButton : public EnterPressedButton<QPushButton> {
public:
    explicit CommandButton(QWidget* parent);
};

// A command button that shows a picture above its caption.
using PictureButton = EnterPressedButton<QToolButton>;

// A clickable link: shows its caption in the highlight colour, underlined while the pointer is
// over it, and hands its url to the desktop when clicked.
class HyperLinkLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(QUrl url READ url WRITE setUrl)

public:
    explicit HyperLinkLabel(QWidget* parent);
    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);
    const QUrl& url() const { return url_; }
    void setUrl(const QUrl& url);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void render(bool hovered);

    QString caption_;
    QUrl url_;
    bool hovered_ = false;
};

}  // namespace ponencias
