#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "ShellTestSupport.h"
#include "support/FormLayout.h"
#include "windows/Controls.h"
#include "windows/ErrorReport.h"

namespace ponencias::test {
namespace {

class SplashWindowTest : public ShellTest {
protected:
    ProgramWindow* showSplash() {
        Windows::Show(WindowId::Splash);
        return Windows::Loaded(WindowId::Splash);
    }
};

TEST_F(SplashWindowTest, ShowsASoundDesignWithTheTitleWrittenAtLoad) {
    ProgramWindow* splash = showSplash();
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->windowTitle(), QString());
    EXPECT_EQ(splash->minimumSize(), splash->maximumSize());  // fixed border
    EXPECT_FALSE(splash->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(splash->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(splash->windowFlags() & Qt::CustomizeWindowHint);
    EXPECT_TRUE(splash->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(FormLayoutFaults(splash).join(QLatin1Char('\n')), QString());

    // Two carriage returns in the title show as exactly one empty line.
    auto* title = Control<CaptionLabel>(WindowId::Splash, "LabelTit");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text().split(QLatin1Char('\n')).size(), 3);
    EXPECT_TRUE(title->text().split(QLatin1Char('\n')).at(1).isEmpty());
    auto* entrar = Control<QPushButton>(WindowId::Splash, "CommandEntrar");
    auto* salir = Control<QPushButton>(WindowId::Splash, "CommandSalir");
    ASSERT_TRUE(entrar && salir);
    for (QPushButton* button : {entrar, salir}) {
        EXPECT_FALSE(button->isDefault());
        EXPECT_FALSE(button->autoDefault());
    }
}

TEST_F(SplashWindowTest, EscOrAClickDoesNothingAndEnterPressesTheFocusedButtonOnly) {
    ProgramWindow* splash = showSplash();
    ASSERT_TRUE(WaitActive(splash));
    EXPECT_EQ(TabCycle(splash), (QStringList{"CommandSalir", "CommandEntrar"}));
    QTest::keyClick(splash->focusWidget(), Qt::Key_Escape);
    QTest::keyClick(splash, Qt::Key_X);
    // Nor does a click on the logo, the title or the frame.
    for (const char* name : {"imgLogo", "LabelTit", "Frame1"}) {
        QTest::mouseClick(Control(WindowId::Splash, name), Qt::LeftButton);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(Windows::Loaded(WindowId::Splash), splash);
    EXPECT_FALSE(Windows::IsLoaded(WindowId::Main));

    // The focus starts on Salir, so Enter leaves the program.
    QTest::keyClick(splash->focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(Windows::IsLoaded(WindowId::Splash));
    EXPECT_FALSE(Windows::IsLoaded(WindowId::Main));
}

TEST_F(SplashWindowTest, AltEEntersTheMainWindowAndAltSLeavesWithoutEnteringAnything) {
    for (const char key : {'E', 'S'}) {
        ProgramWindow* splash = showSplash();
        ASSERT_TRUE(WaitActive(splash));
        PressAccessKey(splash, key);
        EXPECT_FALSE(Windows::IsLoaded(WindowId::Splash));
        ASSERT_EQ(Windows::IsLoaded(WindowId::Main), key == 'E');
        if (key == 'E') {
            EXPECT_TRUE(Windows::Loaded(WindowId::Main)->isVisible());
            Windows::Unload(WindowId::Main);
        }
    }
}

}  // namespace
}  // namespace ponencias::test
