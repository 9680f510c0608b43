#pragma once

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QToolButton>
#include <QUrl>

namespace ponencias {

// Window layouts are designed in twips; at 96 dpi fifteen of them make a logical pixel.
inline constexpr int kTwipsPerPixel = 15;
int TwipsToPixels(double twips);
// Gives a control its designed place and size, in twips.
void PlaceInTwips(QWidget* control, int left, int top, int width, int height);
// A fixed client size in twips for a top-level window.
QSize ClientSizeInTwips(int width, int height);

// Arial at the given size (fontconfig maps it to the metric-compatible Liberation Sans).
QFont ArialFont(double pointSize, bool bold = false, bool underline = false);

// One control of a window's design: its name, its place and size in twips, and (where it has
// one of its own) its font. Returns the control, so a window lays out each one in a statement.
template <typename Control>
Control* DesignControl(Control* control, const char* name, int left, int top, int width,
                       int height) {
    control->setObjectName(QLatin1String(name));
    PlaceInTwips(control, left, top, width, height);
    return control;
}
template <typename Control>
Control* DesignControl(Control* control, const char* name, const QFont& font, int left, int top,
                       int width, int height) {
    control->setFont(font);
    return DesignControl(control, name, left, top, width, height);
}

// A static text. Its caption is kept exactly as written, carriage returns and all; a carriage
// return alone or followed by a line feed starts a new line on screen. Clicking it emits
// clicked().
class CaptionLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)

public:
    explicit CaptionLabel(const QString& caption, QWidget* parent);
    const QString& caption() const { return caption_; }
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

// A command button. It is never a default or cancel button, so Esc does nothing and Enter acts
// only on the focused button, as Space does.
class CommandButton : public QPushButton {
    Q_OBJECT

public:
    CommandButton(const QString& caption, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A command button that shows a picture above its caption, at the picture's own size.
class PictureButton : public QToolButton {
    Q_OBJECT

public:
    PictureButton(const QString& caption, const QString& picture, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A clickable link: shows its caption in the highlight colour, underlined while the pointer is
// over it, and hands its url to the desktop when clicked.
class HyperLinkLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption)
    Q_PROPERTY(QUrl url READ url)

public:
    HyperLinkLabel(const QString& caption, const QUrl& url, QWidget* parent);
    const QString& caption() const { return caption_; }
    const QUrl& url() const { return url_; }

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
