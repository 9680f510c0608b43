#include <gtest/gtest.h>

#include <QPointer>
#include <QScreen>

#include "ShellTestSupport.h"

namespace ponencias::test {
namespace {

using WindowsTest = ShellTest;

TEST_F(WindowsTest, ShowingReusesTheLoadedWindowAndUnloadingDiscardsIt) {
    Windows::Unload(WindowId::Query);  // not loaded: neither loaded nor shown by it
    Windows::Unload(WindowId::Splash);
    EXPECT_EQ(FakeQueryWindow::loads, 0);
    EXPECT_FALSE(Windows::IsLoaded(WindowId::Query));
    EXPECT_FALSE(Windows::IsLoaded(WindowId::Splash));

    Windows::Show(WindowId::Query);
    QPointer<ProgramWindow> first = Windows::Loaded(WindowId::Query);
    Windows::Show(WindowId::Query);
    EXPECT_EQ(Windows::Loaded(WindowId::Query), first.data());
    EXPECT_EQ(FakeQueryWindow::loads, 1);

    Windows::Unload(WindowId::Query);
    EXPECT_FALSE(Windows::IsLoaded(WindowId::Query));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    Windows::Show(WindowId::Query);
    EXPECT_EQ(FakeQueryWindow::loads, 2);
}

TEST_F(WindowsTest, WindowsOpenCentredOnTheScreen) {
    Windows::Show(WindowId::Main);
    ProgramWindow* main = Windows::Loaded(WindowId::Main);
    const QRect screen = main->screen()->availableGeometry();
    EXPECT_LE(std::abs(main->frameGeometry().center().x() - screen.center().x()), 3);
    EXPECT_LE(std::abs(main->frameGeometry().center().y() - screen.center().y()), 3);
}

}  // namespace
}  // namespace ponencias::test
