#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

namespace ponencias::test {

// What a user would see wrong on a form, whatever its design's numbers: a control reaching out
// of the window, two controls drawing over each other (except the pairs named, each "A/B"), or a
// caption cut off by its box at the font it is drawn with. Each finding is one line naming the
// controls; an empty list is a sound form.
// Where a control draws: a label's text, any other control's whole box.
QRect DrawnArea(const QWidget* control);

QStringList FormLayoutFaults(const QWidget* window, const QStringList& overlapsByDesign = {});

}  // namespace ponencias::test
