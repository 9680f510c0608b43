#include "FormLayout.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QRegularExpression>
#include <QWidget>

namespace ponencias::test {

namespace {

// The text a label or a button draws: access-key marks are not drawn.
QString DrawnText(const QWidget* control) {
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        if (label->textFormat() == Qt::RichText) {
            return QString();  // measured by its own layout, not here
        }
        text = label->text();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        text = button->text();
        text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    }
    // A closing line break takes room but draws nothing.
    while (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);
    }
    return text;
}

bool CaptionFits(const QWidget* control) {
    const QString text = DrawnText(control);
    if (text.isEmpty()) {
        return true;
    }
    const QFontMetrics metrics(control->font());
    const auto* label = qobject_cast<const QLabel*>(control);
    if (label && label->wordWrap()) {
        const QRect needed =
            metrics.boundingRect(QRect(0, 0, control->width(), 100000), Qt::TextWordWrap, text);
        return needed.height() <= control->height();
    }
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest <= control->width() && metrics.height() <= control->height();
}

}  // namespace

QRect DrawnArea(const QWidget* control) {
    const auto* label = qobject_cast<const QLabel*>(control);
    const QString text = DrawnText(control);
    if (!label || text.isEmpty()) {
        return control->geometry();
    }
    // A label's box may reach over its neighbour; only its text must stay clear of it.
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const QRect inside =
        QFontMetrics(label->font()).boundingRect(label->contentsRect(), flags, text);
    return inside.intersected(label->contentsRect()).translated(label->pos());
}

QStringList FormLayoutFaults(const QWidget* window, const QStringList& overlapsByDesign) {
    QStringList faults;
    QList<const QWidget*> controls;
    for (const QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->objectName().isEmpty() && !child->isWindow()) {
            controls << child;
        }
    }
    const QRect client(QPoint(0, 0), window->size());
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QWidget* control = controls[i];
        const QString name = control->objectName();
        if (!client.contains(control->geometry())) {
            faults << name + QStringLiteral(" reaches out of the window");
        }
        if (!CaptionFits(control)) {
            faults << name + QStringLiteral(" cuts its caption off");
        }
        for (qsizetype j = i + 1; j < controls.size(); ++j) {
            const QString other = controls[j]->objectName();
            // A bare frame is drawn around the controls it encloses.
            const bool aFrame = control->metaObject() == &QFrame::staticMetaObject ||
                                controls[j]->metaObject() == &QFrame::staticMetaObject;
            if (!aFrame && DrawnArea(control).intersects(DrawnArea(controls[j])) &&
                !overlapsByDesign.contains(name + QLatin1Char('/') + other) &&
                !overlapsByDesign.contains(other + QLatin1Char('/') + name)) {
                faults << name + QStringLiteral(" and ") + other + QStringLiteral(" overlap");
            }
        }
    }
    return faults;
}

}  // namespace ponencias::test
