// The program's whole road through its windows, with the real query window over a small store.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "ProgramWindows.h"
#include "ShellTestSupport.h"
#include "export/ExportFeedback.h"
#include "export/widgets/WidgetExportFeedback.h"
#include "store/ApplicationFolder.h"
#include "store/ProposalStore.h"
#include "support/TestStore.h"
#include "windows/Desktop.h"
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

std::vector<ProposalRow> someProposals() {
    return {{{"FOLIO", "P-001"},
             {"NUM_JORNADA", "1"},
             {"ESTADO", "Jalisco"},
             {"EJE_TEMATICO", "Procedimientos electorales"},
             {"SUBTEMA", "Padrón"},
             {"CATEGORIA_SUBTEMA", "Credencial"},
             {"PERFIL_PONENTE", "Ciudadano"},
             {"TITULO", "Propuesta"},
             {"RESUMEN", "Texto"}},
            {{"FOLIO", "P-002"},
             {"NUM_JORNADA", "2"},
             {"ESTADO", "Chiapas"},
             {"EJE_TEMATICO", "Participación ciudadana"},
             {"SUBTEMA", "Consulta"},
             {"CATEGORIA_SUBTEMA", "Plebiscito"},
             {"PERFIL_PONENTE", "Académico"},
             {"TITULO", "Otra"},
             {"RESUMEN", "Más texto"}}};
}

TEST_F(NavigationTest, FromTheSplashToTheQueryWindowAndBackThenSalirEndsTheProgram) {
    TemporaryStore store(someProposals());
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

TEST_F(NavigationTest, SalirOnTheSplashEndsTheProgramWithoutOpeningTheDataFile) {
    SetProposalDataFile(QStringLiteral("/nonexistent/Ponencias.mdb"));
    const int status = RunProgram([] {
        Windows::Show(WindowId::Splash);
        click(WindowId::Splash, "CommandSalir");
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ProposalConnection, nullptr);
    EXPECT_EQ(UnhandledErrorStatus(), 0);
}

TEST_F(NavigationTest, AMissingDataFileIsReportedWithItsNumberAndEndsTheProgram) {
    SetProposalDataFile(QStringLiteral("/nonexistent/Ponencias.mdb"));
    MessageBoxWatcher boxes;
    const int status = RunProgram([] {
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

// Waits for the program's next message box and answers it with `act`, from within the box's
// own event loop; false when none comes within 10 s.
bool AnswerNextMessage(const std::function<void(QMessageBox*)>& act) {
    bool answered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->isVisible() && !answered) {
            answered = true;
            act(box);
        }
    });
    poll.start(10);
    return QTest::qWaitFor([&] { return answered; }, 10000);
}

// The desktop as the user may meet it: applications declare PDF documents and spreadsheet
// templates, but its opener (xdg-open, first on the PATH) fails with xdg-open's status 4. Both
// the launcher and the search then tell the user, as if no application existed.
TEST_F(NavigationTest, ADesktopOpenerThatFailsIsToldForADocumentAndForTheResult) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString program = home.filePath("programa");
    QDir().mkpath(program);
    QDir().mkpath(home.filePath("bin"));
    QDir().mkpath(home.filePath("tmp"));
    {
        QFile glossary(program + "/Glosario de términos.pdf");
        ASSERT_TRUE(glossary.open(QIODevice::WriteOnly));
        glossary.write("%PDF-1.4\n");
        QFile opener(home.filePath("bin/xdg-open"));
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write("#!/bin/sh\necho \"xdg-open: no method available for opening '$1'\" >&2\n"
                     "exit 4\n");
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    DesktopApplications applications;
    applications.set("visor", {"application/pdf"});
    applications.set("hojas", {"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet",
                               "application/vnd.openxmlformats-officedocument.spreadsheetml."
                               "template"});
    const QByteArray oldPath = qgetenv("PATH"), oldTmp = qgetenv("TMPDIR");
    qputenv("PATH", QFile::encodeName(home.filePath("bin")) + ':' + oldPath);
    qputenv("TMPDIR", QFile::encodeName(home.filePath("tmp")));
    SetApplicationFolderForTesting(program);
    InstallWidgetExportFeedback();
    TemporaryStore store(someProposals());
    store.use();

    QString documentMessage, resultMessage;
    bool offersACopy = false;
    RunProgram(
        [&] {
            Windows::Show(WindowId::Main);
            QTest::mouseClick(Control(WindowId::Main, "LabelInfAdicional"), Qt::LeftButton);
            ClickListEntry(Control<QListWidget>(WindowId::Main, "ListInformacion"), 1);
            EXPECT_TRUE(AnswerNextMessage([&](QMessageBox* box) {
                documentMessage = box->text();
                box->button(QMessageBox::Ok)->click();
            }));
            click(WindowId::Main, "CommandPesquira");
            click(WindowId::Query, "CommandBuscar");
            EXPECT_TRUE(AnswerNextMessage([&](QMessageBox* box) {
                resultMessage = box->text();
                for (QAbstractButton* button : box->buttons()) {
                    offersACopy = offersACopy ||
                                  button->text() == QString::fromUtf8(kSaveCopyButton);
                }
                box->button(QMessageBox::Ok)->click();
            }));
            click(WindowId::Query, "CommandSalir");
        },
        60000);
    SetExportFeedback(nullptr);
    SetApplicationFolderForTesting(QString());
    qputenv("PATH", oldPath);
    qputenv("TMPDIR", oldTmp);

    EXPECT_EQ(documentMessage,
              NoApplicationForDocumentMessage(program + "/Glosario de términos.pdf"));
    const QStringList folders = QDir(home.filePath("tmp")).entryList({"Ponencias-*"}, QDir::Dirs);
    ASSERT_EQ(folders.size(), 1);
    const QDir results(home.filePath("tmp/") + folders[0]);
    const QStringList saved = results.entryList(QDir::Files);
    ASSERT_EQ(saved.size(), 1);
    EXPECT_TRUE(saved[0].endsWith(".xltx"));
    EXPECT_EQ(resultMessage, SavedResultText(results.filePath(saved[0])));
    EXPECT_TRUE(offersACopy);
    EXPECT_EQ(UnhandledErrorStatus(), 0);
}

}  // namespace
}  // namespace ponencias::test
