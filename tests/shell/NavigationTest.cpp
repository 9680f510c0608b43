// The program's whole road through its windows, with the real query window over a small store.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QTest>

#include "ProgramWindows.h"
#include "ShellTestSupport.h"
#include "store/ApplicationFolder.h"
#include "store/ProposalStore.h"
#include "support/TestStore.h"
#include "windows/ErrorReport.h"

namespace ponencias::test {
namespace {

class NavigationTest : public ::testing::Test {
protected:
    void SetUp() override {
        UnloadEverything();
        RegisterProgramWindows();
        ResetUnhandledErrorForTesting();
    }
    void TearDown() override {
        UnloadEverything();
        ReleaseProposalStore();
        SetProposalDataFile(QString());
        ResetUnhandledErrorForTesting();
    }
    static void click(WindowId id, const char* button) {
        QWidget* control = Control(id, button);
        ASSERT_NE(control, nullptr) << button;
        QTest::mouseClick(control, Qt::LeftButton);
    }
};

TEST_F(NavigationTest, FromTheSplashToTheQueryWindowAndBackThenSalirEndsTheProgram) {
    TemporaryStore store({{{"FOLIO", "P-001"}, {"EJE_TEMATICO", "Procedimientos electorales"}},
                          {{"FOLIO", "P-002"}, {"EJE_TEMATICO", "Participación ciudadana"}}});
    store.use();
    bool sawFreshMain = false;
    bool onlyOneWindowEachStep = true;
    auto oneOpen = [&] {
        int open = 0;
        for (WindowId id : {WindowId::Splash, WindowId::Main, WindowId::Query}) {
            open += Windows::IsLoaded(id) ? 1 : 0;
        }
        onlyOneWindowEachStep = onlyOneWindowEachStep && open == 1;
    };
    const int status = RunProgram([&] {
        Windows::Show(WindowId::Splash);
        oneOpen();
        click(WindowId::Splash, "CommandEntrar");
        oneOpen();
        ASSERT_TRUE(Windows::IsLoaded(WindowId::Main));
        QTest::mouseClick(Control(WindowId::Main, "LabelInfAdicional"), Qt::LeftButton);
        ASSERT_TRUE(Control(WindowId::Main, "ListInformacion")->isVisible());

        click(WindowId::Main, "CommandPesquira");
        oneOpen();
        ASSERT_TRUE(Windows::IsLoaded(WindowId::Query));
        EXPECT_NE(ProposalConnection, nullptr);  // the query window's loading read the store

        click(WindowId::Query, "CommandAtras");
        oneOpen();
        ASSERT_TRUE(Windows::IsLoaded(WindowId::Main));
        auto* list = Control<QListWidget>(WindowId::Main, "ListInformacion");
        sawFreshMain = !list->isVisible() && list->count() == 0;
        // Let the event loop run once more: closing the query window must not have ended the
        // program behind the main window's back.
        QTimer::singleShot(50, [] { click(WindowId::Main, "CommandSalir"); });
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(UnhandledErrorStatus(), 0);
    EXPECT_TRUE(sawFreshMain);
    EXPECT_TRUE(onlyOneWindowEachStep);
    for (WindowId id : {WindowId::Splash, WindowId::Main, WindowId::Query, WindowId::About}) {
        EXPECT_FALSE(Windows::IsLoaded(id));
    }
}

// Salir on the splash ends the program without opening the data file; asked for by the query
// window, a missing one is reported with its number and ends the program.
TEST_F(NavigationTest, AMissingDataFileIsOpenedOnlyForTheQueryWindowAndEndsTheProgram) {
    SetProposalDataFile(QStringLiteral("/nonexistent/Ponencias.mdb"));
    int status = RunProgram([] {
        Windows::Show(WindowId::Splash);
        click(WindowId::Splash, "CommandSalir");
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ProposalConnection, nullptr);
    EXPECT_EQ(UnhandledErrorStatus(), 0);

    MessageBoxWatcher boxes;
    status = RunProgram([] {
        Windows::Show(WindowId::Splash);
        click(WindowId::Splash, "CommandEntrar");
        click(WindowId::Main, "CommandPesquira");
    });
    EXPECT_EQ(status, kUnhandledErrorExitStatus);
    EXPECT_FALSE(Windows::IsLoaded(WindowId::Query));
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen()[0].title, QStringLiteral("Ponencias"));
    EXPECT_TRUE(boxes.seen()[0].text.contains(QStringLiteral("'3024'")));
    EXPECT_TRUE(boxes.seen()[0].text.contains(QStringLiteral("Ponencias.mdb")));
}

}  // namespace
}  // namespace ponencias::test
