#include "KeyPresses.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>

namespace ponencias::test {

void PressAccessKey(QWidget* window, char letter) {
    const QString mark = QStringLiteral("&") + QLatin1Char(letter);
    bool clicked = false;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text().contains(mark, Qt::CaseInsensitive)) {
            QObject::connect(button, &QAbstractButton::clicked, button,
                             [&clicked] { clicked = true; });
        }
    }
    const auto key = static_cast<Qt::Key>(Qt::Key_A + (QChar::toUpper(char16_t(letter)) - u'A'));
    QTest::keyClick(window, key, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&clicked] { return clicked; }, 2000))
        << "Alt+" << letter << " clicked no button";
}

}  // namespace ponencias::test
