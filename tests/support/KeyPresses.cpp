#include "KeyPresses.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>
#include <vector>

namespace ponencias::test {

void PressAccessKey(QWidget* window, char letter) {
    const QString mark = QStringLiteral("&") + QLatin1Char(letter);
    bool clicked = false;
    // Watched for this press only: a later click must not reach this call's finished frame.
    std::vector<QMetaObject::Connection> watches;
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text().contains(mark, Qt::CaseInsensitive)) {
            watches.push_back(QObject::connect(button, &QAbstractButton::clicked, button,
                                               [&clicked] { clicked = true; }));
        }
    }
    const auto key = static_cast<Qt::Key>(Qt::Key_A + (QChar::toUpper(char16_t(letter)) - u'A'));
    QTest::keyClick(window, key, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&clicked] { return clicked; }, 2000))
        << "Alt+" << letter << " clicked no button";
    for (const QMetaObject::Connection& watch : watches) {
        QObject::disconnect(watch);
    }
}

}  // namespace ponencias::test
