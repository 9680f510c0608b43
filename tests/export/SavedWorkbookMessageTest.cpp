// The message for a result that nothing on the desktop can show, as the user meets it: the
// information message, its offer of a copy, the save dialog and the copy it writes.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ExportTestSupport.h"
#include "XlsxReader.h"
#include "desktop/DesktopOpener.h"
#include "export/ResultHandOver.h"
#include "export/ResultWorkbookFile.h"
#include "export/widgets/WidgetExportFeedback.h"

namespace ponencias::test {
namespace {

// The program's message boxes, with a desktop that takes nothing handed to it.
class RefusingDesktopFeedback : public WidgetExportFeedback {
public:
    bool showWorkbook(const QString&) override { return false; }
};

// Acts on the next modal window of type T as soon as the event loop shows it. One that never
// comes fails the test after 30 s and closes whatever modal window is open, so nothing hangs.
template <class T>
void OnNextModal(std::function<void(T*)> act) {
    auto* timer = new QTimer(qApp);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, ticks, act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* window = qobject_cast<T*>(modal); window && window->isVisible()) {
            timer->deleteLater();
            timer->stop();
            act(window);
        } else if (++*ticks > 3000) {
            timer->deleteLater();
            timer->stop();
            ADD_FAILURE() << "the expected window did not open";
            if (modal) {
                modal->close();
            }
        }
    });
    timer->start(10);
}

QAbstractButton* ButtonCalled(QMessageBox* box, const QString& text) {
    for (QAbstractButton* button : box->buttons()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

class SavedWorkbookMessageTest : public ExportTest {
protected:
    void SetUp() override {
        ExportTest::SetUp();
        documents_ = documentsFolder();
        QDir().mkpath(documents_);
        QDir().mkpath(temp_.filePath("elegida"));
        SetExportFeedback(&widgets_);
        store_ = std::make_unique<TemporaryStore>(MakeProposals(12));
        store_->use();
    }
    void TearDown() override {
        store_.reset();
        ExportTest::TearDown();
    }

    // Runs a search whose result nothing shows; `onMessage` acts on its message.
    void search(std::function<void(QMessageBox*)> onMessage) {
        OnNextModal<QMessageBox>(std::move(onMessage));
        ExportResultSheet(kAllProposals);
    }
    // The one file the search saved in the results folder.
    QString savedFile() const {
        const QStringList files = QDir(ResultsFolder()).entryList(QDir::Files | QDir::Hidden);
        return files.size() == 1 ? ResultsFolder() + "/" + files[0] : QString();
    }

    RefusingDesktopFeedback widgets_;
    std::unique_ptr<TemporaryStore> store_;
    QString documents_;
};

// Nothing on the desktop opens workbooks: the message names the saved file and offers a copy,
// and a save dialog cancelled leaves nothing behind.
TEST_F(SavedWorkbookMessageTest, TheMessageNamesTheSavedFileAndOffersACopy) {
    setDesktopSpreadsheets(DesktopSpreadsheets::None);
    QString text;
    search([&](QMessageBox* box) {
        text = box->text();
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        EXPECT_TRUE(box->textInteractionFlags() & Qt::TextSelectableByMouse);
        OnNextModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        ButtonCalled(box, QString::fromUtf8(kSaveCopyButton))->click();
    });
    ASSERT_FALSE(savedFile().isEmpty());
    EXPECT_TRUE(savedFile().endsWith(".xlsx"));  // nothing opens templates either
    EXPECT_EQ(text,
              "No hay una aplicación que pueda mostrar el libro de resultados. El libro "
              "está guardado en:\n" +
                  savedFile());
    EXPECT_EQ(ReadXlsx(savedFile()).maxRow(), 13);
    EXPECT_TRUE(EntriesIn(documents_).isEmpty());
    EXPECT_TRUE(EntriesIn(temp_.filePath("elegida")).isEmpty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(SavedWorkbookMessageTest, AHandOverTheDesktopFailsGetsTheSameMessageLater) {
    // An application declares templates, but the opener fails a while after the search ended.
    WidgetExportFeedback widgets;
    SetExportFeedback(&widgets);
    std::vector<QUrl> handed;
    SetDesktopOpenerForTesting([&](const QUrl& url, const std::function<void()>& failed) {
        handed.push_back(url);
        QTimer::singleShot(20, failed);
    });
    QString text;
    bool offered = false;
    OnNextModal<QMessageBox>([&](QMessageBox* box) {
        text = box->text();
        offered = ButtonCalled(box, QString::fromUtf8(kSaveCopyButton)) != nullptr;
        box->button(QMessageBox::Ok)->click();
    });
    ExportResultSheet(kAllProposals);
    const bool toldDuringTheSearch = !text.isEmpty();
    const bool told = QTest::qWaitFor([&] { return !text.isEmpty(); }, 10000);
    SetDesktopOpenerForTesting({});
    EXPECT_FALSE(toldDuringTheSearch);
    ASSERT_TRUE(told);
    EXPECT_EQ(handed, std::vector<QUrl>{QUrl::fromLocalFile(savedFile())});
    EXPECT_EQ(text, SavedResultText(savedFile()));
    EXPECT_TRUE(offered);
}

TEST_F(SavedWorkbookMessageTest, TheCopyIsAWorkbookWrittenWhereTheUserChooses) {
    // The desktop opens templates but refuses this one: the saved file is the template.
    const QString chosen = temp_.filePath("elegida/mi consulta.xlsx");
    QString proposed, openedIn;
    search([&](QMessageBox* box) {
        OnNextModal<QFileDialog>([&](QFileDialog* dialog) {
            proposed = dialog->selectedFiles().value(0);
            openedIn = dialog->directory().absolutePath();
            EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
            // Typed into the name box, as a user does (selectFile leaves a focused box alone).
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!name) {
                ADD_FAILURE() << "the save dialog has no name box";
                dialog->reject();
                return;
            }
            name->setText(chosen);
            static_cast<QDialog*>(dialog)->accept();  // as the Save button does
        });
        ButtonCalled(box, QString::fromUtf8(kSaveCopyButton))->click();
    });
    const QString saved = savedFile();
    ASSERT_TRUE(saved.endsWith(".xltx")) << saved.toStdString();
    EXPECT_EQ(openedIn, documents_);
    EXPECT_EQ(proposed, documents_ + "/" + QFileInfo(saved).completeBaseName() + ".xlsx");
    EXPECT_TRUE(QFileInfo(proposed).fileName().startsWith("Consulta de ponencias 20"));
    ASSERT_TRUE(QFileInfo::exists(chosen));
    // The copy is the saved result as a workbook, part for part; nothing else was written.
    ExpectTemplateOfWorkbook(saved, chosen);
    EXPECT_EQ(EntriesIn(temp_.filePath("elegida")), QStringList{"mi consulta.xlsx"});
    EXPECT_TRUE(EntriesIn(documents_).isEmpty());
    EXPECT_TRUE(ReadZipPart(saved, "[Content_Types].xml").contains("template.main+xml"));
}

TEST_F(SavedWorkbookMessageTest, ACopyThatCannotBeMadeIsAnErrorNamingTheFile) {
    setDesktopSpreadsheets(DesktopSpreadsheets::None);
    QString saved;
    QString error;
    search([&](QMessageBox* box) {
        // The saved file is gone (the system emptied the temporary folder) by the time the
        // user asks for the copy.
        saved = savedFile();
        QFile::remove(saved);
        OnNextModal<QFileDialog>([&](QFileDialog* dialog) {
            OnNextModal<QMessageBox>([&](QMessageBox* failure) {
                error = failure->text();
                EXPECT_EQ(failure->icon(), QMessageBox::Critical);
                failure->button(QMessageBox::Ok)->click();
            });
            // The proposed name in the documents folder, as the Save button takes it.
            static_cast<QDialog*>(dialog)->accept();
        });
        ButtonCalled(box, QString::fromUtf8(kSaveCopyButton))->click();
    });
    EXPECT_EQ(error,
              "No se pudo guardar la copia «" + saved + "»: No existe el archivo o el directorio");
    EXPECT_TRUE(EntriesIn(documents_).isEmpty());
}

}  // namespace
}  // namespace ponencias::test
