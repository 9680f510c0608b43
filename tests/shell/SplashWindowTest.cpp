#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
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

    auto* title = Control<CaptionLabel>(WindowId::Splash, "LabelTit");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->caption(),
              QStringLiteral("BASE DE DATOS DE LAS MIREOLAS\r\rReflexión y análisis para la "
                             "modernización y reforma electorales"));
    // Two carriage returns show as exactly one empty line.
    EXPECT_EQ(title->text().split(QLatin1Char('\n')).size(), 3);
    EXPECT_TRUE(title->text().split(QLatin1Char('\n')).at(1).isEmpty());
    EXPECT_TRUE(title->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(title->font().family(), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(title->font().pointSizeF(), 12.0);
    EXPECT_TRUE(title->font().bold());

    auto* frame = Control<QFrame>(WindowId::Splash, "Frame1");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->focusPolicy(), Qt::NoFocus);

    auto* logo = Control<QLabel>(WindowId::Splash, "imgLogo");
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->pixmap().size(), QSize(150, 59));
    const int margin = logo->margin();
    EXPECT_EQ(logo->contentsRect().marginsRemoved(QMargins(margin, margin, margin, margin)),
              QRect(2, 2, 150, 59));

    auto* entrar = Control<QPushButton>(WindowId::Splash, "CommandEntrar");
    auto* salir = Control<QPushButton>(WindowId::Splash, "CommandSalir");
    ASSERT_TRUE(entrar && salir);
    EXPECT_DOUBLE_EQ(entrar->font().pointSizeF(), 8.25);
    for (QPushButton* button : {entrar, salir}) {
        EXPECT_FALSE(button->isDefault());
        EXPECT_FALSE(button->autoDefault());
    }
}

TEST_F(SplashWindowTest, FocusStartsOnSalirAndTabGoesToEntrar) {
    ProgramWindow* splash = showSplash();
    ASSERT_TRUE(WaitActive(splash));
    EXPECT_EQ(TabCycle(splash), (QStringList{"CommandSalir", "CommandEntrar"}));
}

TEST_F(SplashWindowTest, EscDoesNothingAndEnterPressesTheFocusedButtonOnly) {
    ProgramWindow* splash = showSplash();
    ASSERT_TRUE(WaitActive(splash));
    QTest::keyClick(splash->focusWidget(), Qt::Key_Escape);
    QTest::keyClick(splash, Qt::Key_X);
    QCoreApplication::processEvents();
    EXPECT_TRUE(Windows::IsLoaded(WindowId::Splash));

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

TEST_F(SplashWindowTest, ClickingTheLogoTitleOrFrameDoesNothing) {
    ProgramWindow* splash = showSplash();
    for (const char* name : {"imgLogo", "LabelTit", "Frame1"}) {
        QTest::mouseClick(Control(WindowId::Splash, name), Qt::LeftButton);
    }
    EXPECT_TRUE(Windows::IsLoaded(WindowId::Splash));
    EXPECT_FALSE(Windows::IsLoaded(WindowId::Main));
    EXPECT_EQ(Windows::Loaded(WindowId::Splash), splash);
}

}  // namespace
}  // namespace ponencias::test
