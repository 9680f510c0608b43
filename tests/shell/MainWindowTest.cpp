#include <gtest/gtest.h>

#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "ShellTestSupport.h"
#include "store/ApplicationFolder.h"
#include "support/Files.h"
#include "support/FormLayout.h"
#include "windows/Controls.h"
#include "windows/DocumentLauncher.h"
#include "windows/ErrorReport.h"

namespace ponencias::test {
namespace {

class MainWindowTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(folder_.isValid());
        SetApplicationFolderForTesting(folder_.path());
        applications_.set(QStringLiteral("visor"), {QStringLiteral("application/pdf"),
                                                    QStringLiteral("application/vnd.ms-excel")});
    }
    void TearDown() override {
        ShellTest::TearDown();
        SetApplicationFolderForTesting(QString());
    }
    ProgramWindow* showMain() {
        Windows::Show(WindowId::Main);
        return Windows::Loaded(WindowId::Main);
    }
    QListWidget* list() { return Control<QListWidget>(WindowId::Main, "ListInformacion"); }
    void clickInformation() {
        QTest::mouseClick(Control(WindowId::Main, "LabelInfAdicional"), Qt::LeftButton);
    }
    void showInformationList() {
        showMain();
        clickInformation();
    }
    void deliver(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            WriteWholeFile(folder_.filePath(QString::fromUtf8(name)), "documento");
        }
    }
    // The main window as a document that did not open, or the closed about window, leaves it.
    void expectMainWindowAsItWas() {
        ASSERT_TRUE(Windows::IsLoaded(WindowId::Main));
        EXPECT_TRUE(list()->isVisible());
        EXPECT_EQ(list()->count(), 3);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(UnhandledErrorStatus(), 0);
    }

    QTemporaryDir folder_;
    DesktopApplications applications_;
    DesktopRecorder desktop_;
};

QStringList entries(QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->item(i)->text();
    }
    return texts;
}

// A resizable window whose design holds together; each button shows its picture, which comes
// from the program's resources, at the picture's own size.
TEST_F(MainWindowTest, ShowsASoundDesign) {
    ProgramWindow* main = showMain();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_NE(main->minimumSize(), main->maximumSize());
    EXPECT_EQ(FormLayoutFaults(main).join(QLatin1Char('\n')), QString());
    for (const char* name : {"CommandPesquira", "CommandAbrirBase", "CommandSalir"}) {
        auto* button = Control<QToolButton>(WindowId::Main, name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->icon().availableSizes().value(0), button->iconSize()) << name;
    }
    ASSERT_NE(list(), nullptr);
    EXPECT_FALSE(list()->isVisible());
    EXPECT_EQ(list()->count(), 0);
}

TEST_F(MainWindowTest, TabOrderAndAccessKeys) {
    ProgramWindow* main = showMain();
    ASSERT_TRUE(WaitActive(main));
    EXPECT_EQ(TabCycle(main), (QStringList{"CommandPesquira", "CommandAbrirBase", "CommandSalir"}));
    clickInformation();
    Control(WindowId::Main, "CommandPesquira")->setFocus();
    EXPECT_EQ(TabCycle(main), (QStringList{"CommandPesquira", "CommandAbrirBase", "CommandSalir",
                                           "ListInformacion"}));

    // Esc does nothing; Alt+A opens the database document, which is missing here.
    QTest::keyClick(main, Qt::Key_Escape);
    EXPECT_TRUE(Windows::IsLoaded(WindowId::Main));
    {
        MessageBoxWatcher boxes;
        PressAccessKey(main, 'A');
        EXPECT_TRUE(QTest::qWaitFor([&] { return !boxes.seen().empty(); }, 2000));
        ASSERT_EQ(boxes.seen().size(), 1u);
        EXPECT_TRUE(boxes.seen()[0].text.contains(QStringLiteral("Ponencias.xls")));
    }
    ASSERT_TRUE(WaitActive(main));
    PressAccessKey(main, 'C');
    EXPECT_TRUE(Windows::IsLoaded(WindowId::Query));
    EXPECT_FALSE(Windows::IsLoaded(WindowId::Main));
}

TEST_F(MainWindowTest, InformationListIsRebuiltBelowTheLabelOnEveryClick) {
    showMain();
    for (int click = 0; click < 3; ++click) {
        clickInformation();
        EXPECT_TRUE(list()->isVisible());
        EXPECT_EQ(entries(list()),
                  (QStringList{QStringLiteral("Presentación"), QStringLiteral("Glosario"),
                               QStringLiteral("Tipología de variables")}));
        EXPECT_TRUE(list()->selectedItems().isEmpty());
        EXPECT_EQ(list()->currentRow(), -1);
        list()->setCurrentRow(2);
    }
}

// A click, or Enter on the list's current entry, opens a document.
TEST_F(MainWindowTest, DocumentsOpenWithTheirExactNames) {
    deliver({"Glosario de términos.pdf", "Tipología de Variables.pdf", "Ponencias.xls"});
    ProgramWindow* main = showMain();
    ASSERT_TRUE(WaitActive(main));
    clickInformation();
    list()->setFocus();
    list()->setCurrentRow(1);
    QTest::keyClick(list(), Qt::Key_Return);
    ClickListEntry(list(), 2);
    Control<QToolButton>(WindowId::Main, "CommandAbrirBase")->click();
    const QString folder = folder_.path();
    EXPECT_EQ(desktop_.opened(),
              (std::vector<QUrl>{
                  QUrl::fromLocalFile(folder + QStringLiteral("/Glosario de términos.pdf")),
                  QUrl::fromLocalFile(folder + QStringLiteral("/Tipología de Variables.pdf")),
                  QUrl::fromLocalFile(folder + QStringLiteral("/Ponencias.xls"))}));
    EXPECT_TRUE(Windows::IsLoaded(WindowId::Main));
}

// Each document that cannot be opened is named in a message and not handed over; the others
// still are.
TEST_F(MainWindowTest, AMissingDocumentOrOneWithNoApplicationIsNamedAndNotHandedOver) {
    // A desktop with a spreadsheet application and nothing for PDF documents; an application
    // for any text at all says nothing about them either.
    applications_.set(QStringLiteral("visor"), {QStringLiteral("application/vnd.ms-excel")});
    applications_.set(QStringLiteral("editor"), {QStringLiteral("text/plain")});
    applications_.set(QStringLiteral("borrado"), {QStringLiteral("application/pdf")}, true);
    // The typology is there, but not under the name the program asks for.
    deliver({"Glosario de términos.pdf", "Tipología de variables.pdf", "Ponencias.xls"});
    showInformationList();
    MessageBoxWatcher boxes;
    ClickListEntry(list(), 1);
    ClickListEntry(list(), 2);
    Control<QToolButton>(WindowId::Main, "CommandAbrirBase")->click();
    ASSERT_EQ(boxes.seen().size(), 2u);
    EXPECT_EQ(boxes.seen()[0].title, QStringLiteral("Ponencias"));
    EXPECT_EQ(boxes.seen()[0].icon, static_cast<int>(QMessageBox::Information));
    EXPECT_TRUE(boxes.seen()[0].text.contains(QStringLiteral("\"Glosario de términos.pdf\"")));
    EXPECT_TRUE(boxes.seen()[0].text.contains(folder_.path()));
    EXPECT_EQ(boxes.seen()[1].title, QStringLiteral("Ponencias"));
    EXPECT_EQ(boxes.seen()[1].icon, static_cast<int>(QMessageBox::Warning));  // told as missing
    EXPECT_TRUE(boxes.seen()[1].text.contains(QStringLiteral("Tipología de Variables.pdf")));
    // Only the workbook, which is there and the desktop can open, was handed over.
    EXPECT_EQ(
        desktop_.opened(),
        std::vector<QUrl>{QUrl::fromLocalFile(folder_.filePath(QStringLiteral("Ponencias.xls")))});
    expectMainWindowAsItWas();
}

TEST_F(MainWindowTest, AHandOverTheDesktopFailsIsToldAsNoApplication) {
    // An application declares PDF documents, but the opener fails a while after it started.
    deliver({"Glosario de términos.pdf"});
    showInformationList();
    desktop_.setFailing(true);
    MessageBoxWatcher boxes;
    ClickListEntry(list(), 1);
    EXPECT_TRUE(boxes.seen().empty());  // the window is not held while the opener runs
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.seen().empty(); }, 5000));
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen()[0].text,
              NoApplicationForDocumentMessage(folder_.filePath("Glosario de términos.pdf")));
    EXPECT_EQ(boxes.seen()[0].icon, static_cast<int>(QMessageBox::Information));
    EXPECT_EQ(desktop_.opened().size(), 1u);
    expectMainWindowAsItWas();
}

TEST_F(MainWindowTest, PresentacionShowsTheAboutWindowModallyAndEitherCloseLeavesTheSameState) {
    for (bool byButton : {true, false}) {
        SCOPED_TRACE(byButton ? "Cerrar Ventana" : "close box");
        showInformationList();
        bool wasModal = false;
        bool mainBlocked = false;
        QTimer::singleShot(50, [&] {
            ProgramWindow* about = Windows::Loaded(WindowId::About);
            ASSERT_NE(about, nullptr);
            wasModal = about->isVisible() && QApplication::activeModalWidget() == about;
            mainBlocked = QApplication::activeModalWidget() != Windows::Loaded(WindowId::Main);
            if (byButton) {
                Control<QPushButton>(WindowId::About, "CommandCerrar")->click();
            } else {
                about->close();
            }
        });
        ClickListEntry(list(), 0);  // returns when the about window has closed
        EXPECT_TRUE(wasModal);
        EXPECT_TRUE(mainBlocked);
        EXPECT_FALSE(Windows::IsLoaded(WindowId::About));
        expectMainWindowAsItWas();
        EXPECT_TRUE(desktop_.opened().empty());
    }
}

}  // namespace
}  // namespace ponencias::test
