// The query window itself on the offscreen platform: its design as a user meets it (nothing cut
// off or overlapping, tab order, access keys, Enter), the combos as the user drives them, and the
// window's commands.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "QueryFixture.h"
#include "export/ResultHandOver.h"
#include "export/XlsxReader.h"
#include "query/Form1.h"
#include "query/QueryFilters.h"
#include "support/Files.h"
#include "support/FormLayout.h"
#include "support/KeyPresses.h"

namespace ponencias {
namespace {

QStringList Entries(const QComboBox* combo) {
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) {
        entries << combo->itemText(i);
    }
    return entries;
}

// What the searches came to, as the user would be told: "no records", or the saved workbook that
// no application showed (the test's desktop has none).
class SearchOutcomes : public ExportFeedback {
public:
    QStringList outcomes;  // kNoRecordsMessage, or a workbook's path

    void showNoRecords() override { outcomes << QString::fromUtf8(kNoRecordsMessage); }
    void showError(const QString& text) override { ADD_FAILURE() << text.toStdString(); }
    void showNotice(const QString& text) override { ADD_FAILURE() << text.toStdString(); }
    void showInformation(const QString& text) override { ADD_FAILURE() << text.toStdString(); }
    void showSavedWorkbook(const QString&, const QString& path) override { outcomes << path; }
    bool showWorkbook(const QString&) override { return false; }

    // The folios in the workbook of search `n` (0-based), in its row order.
    QStringList folios(int n) const {
        const test::XlsxSheet sheet = test::ReadXlsx(outcomes.value(n));
        QStringList folios;
        for (int row = 2; row <= sheet.maxRow(); ++row) {
            folios << sheet.text(row, 1);
        }
        return folios;
    }
};

// A stand-in for the splash and the main window, which the shell provides.
class StandInWindow : public ProgramWindow {
public:
    void Load() override { ++loads; }
    static inline int loads = 0;
};

class Form1Test : public ::testing::Test {
protected:
    void SetUp() override {
        store_.use();
        StandInWindow::loads = 0;
        Windows::Register(WindowId::Splash, [] { return new StandInWindow; });
        Windows::Register(WindowId::Main, [] { return new StandInWindow; });
        Windows::Register(WindowId::Query, [] { return new Form1; });
        // The searches' workbooks go to the test's temporary folder, and its desktop has no
        // application for them.
        ASSERT_TRUE(folder_.isValid());
        for (const char* name : {"TMPDIR", "XDG_DATA_DIRS", "XDG_DATA_HOME"}) {
            environment_.set(name, folder_.path());
        }
        SetExportFeedback(&searches_);
    }
    void TearDown() override {
        for (WindowId id : {WindowId::Query, WindowId::Main, WindowId::Splash}) {
            Windows::Unload(id);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetExportFeedback(nullptr);
    }

    // Opens the query window as the main window does, and waits until it can take keys.
    Form1* open() {
        Windows::Show(WindowId::Query);
        auto* window = static_cast<Form1*>(Windows::Loaded(WindowId::Query));
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        return window;
    }
    template <typename T>
    static T* child(QWidget* window, const char* name) {
        T* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    test::TemporaryStore store_{test::QueryRows()};
    QTemporaryDir folder_;
    test::ScopedEnvironment environment_;
    SearchOutcomes searches_;
};

// The window as designed, checked for what a user would see wrong rather than for the design's
// numbers: a fixed window with no minimise or maximise box, every control inside it, none over
// another, every caption whole at the font it is drawn with, and the lists of the kinds the
// search relies on.
TEST_F(Form1Test, DesignIsSoundAndFixed) {
    Form1 window;
    EXPECT_EQ(window.minimumSize(), window.maximumSize());  // no reaction to resizing
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(test::FormLayoutFaults(&window).join(QLatin1Char('\n')), QString());
    // The labels stand left of or above the control they name.
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (QWidget* buddy = label->buddy()) {
            const QRect text = test::DrawnArea(label);
            EXPECT_TRUE(text.right() < buddy->geometry().left() ||
                        text.bottom() < buddy->geometry().top())
                << label->objectName().toStdString();
        }
    }

    for (const char* name : {"SubtemaCbo", "CatSubTemaCbo"}) {
        auto* combo = child<QComboBox>(&window, name);
        EXPECT_EQ(combo->insertPolicy(), QComboBox::NoInsert);  // typing adds no entry
        EXPECT_EQ(combo->completer(), nullptr);                 // nor chooses one
    }
    EXPECT_GE(child<QLineEdit>(&window, "BusquedaTxt")->maxLength(), 100000);
}

// Each list and the keyword box is named by the label that stands for it, which is also the
// name the companion gives the filter; assistive technology announces it by the "labelled by"
// relation (and, for the text box, as its name), and each button by its caption.
TEST_F(Form1Test, LabelsNameTheControlsForTheCompanionAndAssistiveTechnology) {
    Form1 window;
    std::vector<std::pair<QString, const char*>> named;
    for (const FilterList& filter : kFilterLists) {
        named.emplace_back(QString::fromUtf8(filter.label), filter.controlName);
        EXPECT_EQ(child<QComboBox>(&window, filter.controlName)->isEditable(), filter.editable);
    }
    named.emplace_back(QString::fromUtf8(kKeywordLabel), "BusquedaTxt");
    for (const auto& [text, controlName] : named) {
        SCOPED_TRACE(controlName);
        auto* control = child<QWidget>(&window, controlName);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr);
        const auto labels = accessible->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1);
        auto* label = qobject_cast<QLabel*>(labels[0].first->object());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->buddy(), control);
        EXPECT_EQ(label->text(), text + ":");
        EXPECT_EQ(labels[0].first->text(QAccessible::Name), label->text());
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(child<QWidget>(&window, "BusquedaTxt"))
                  ->text(QAccessible::Name),
              QString::fromUtf8(kKeywordLabel) + ":");
    for (const char* name : {"CommandBuscar", "CommandLimpiar", "CommandAtras", "CommandSalir"}) {
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(child<QWidget>(&window, name));
        ASSERT_NE(accessible, nullptr) << name;
        EXPECT_EQ(accessible->text(QAccessible::Name),
                  child<QPushButton>(&window, name)->text().remove('&'))
            << name;
        EXPECT_EQ(accessible->role(), QAccessible::Button) << name;
    }
}

TEST_F(Form1Test, LoadingFillsTheListsAndTabbingFollowsTheDesign) {
    Form1* window = open();
    EXPECT_EQ(Entries(child<QComboBox>(window, "EjeTemCbo")), test::QueryRowsAxes());
    EXPECT_EQ(child<QComboBox>(window, "SubtemaCbo")->currentText(),
              QStringLiteral("Todos los subtemas"));

    const char* order[] = {"CommandBuscar", "CommandLimpiar", "CommandAtras",    "CommandSalir",
                           "JornadaCbo",    "EntidadCbo",     "EjeTemCbo",       "SubtemaCbo",
                           "CatSubTemaCbo", "PerfilPonCbo",   "NormatividadCbo", "BusquedaTxt",
                           "CommandBuscar"};
    for (const char* name : order) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        // An editable combo's field holds the focus for its combo.
        QWidget* control =
            qobject_cast<QComboBox*>(focused->parentWidget()) ? focused->parentWidget() : focused;
        EXPECT_EQ(control->objectName(), QLatin1String(name));
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    EXPECT_TRUE(searches_.outcomes.isEmpty());
}

TEST_F(Form1Test, UserChoicesRunTheCascadeAndTypingRunsNothing) {
    Form1* window = open();
    auto* eje = child<QComboBox>(window, "EjeTemCbo");
    auto* subtema = child<QComboBox>(window, "SubtemaCbo");
    auto* categoria = child<QComboBox>(window, "CatSubTemaCbo");

    eje->setFocus();
    const int procedimientos = eje->findText(QStringLiteral("Procedimientos electorales"));
    while (eje->currentIndex() < procedimientos) {
        QTest::keyClick(eje, Qt::Key_Down);  // each step is a choice, as on the platform
    }
    EXPECT_EQ(Entries(subtema), QStringList({"Todos los subtemas", "Casillas"}));
    EXPECT_EQ(subtema->currentIndex(), 0);
    EXPECT_EQ(subtema->currentText(), QStringLiteral("Todos los subtemas"));
    EXPECT_EQ(QApplication::focusWidget(), eje);

    // Typing an entry's text, pressing Enter and leaving the field is no choice.
    subtema->lineEdit()->selectAll();
    QTest::keyClicks(subtema->lineEdit(), QStringLiteral("Casillas"));
    QTest::keyClick(subtema->lineEdit(), Qt::Key_Return);
    eje->setFocus();
    EXPECT_EQ(subtema->currentText(), QStringLiteral("Casillas"));
    EXPECT_EQ(subtema->count(), 2);
    EXPECT_EQ(categoria->count(), 0);

    // Choosing it with the arrow keys is.
    subtema->setFocus();
    QTest::keyClick(subtema, Qt::Key_Down);
    EXPECT_EQ(subtema->currentIndex(), 1);
    EXPECT_EQ(Entries(categoria),
              QStringList({"Todas las categorías", "Financiamiento", "Ubicación"}));
    EXPECT_EQ(categoria->currentText(), QStringLiteral("Todas las categorías"));

    // The category combo has no reaction; the subtopics stay as chosen.
    categoria->setFocus();
    QTest::keyClick(categoria, Qt::Key_Down);
    EXPECT_EQ(subtema->currentIndex(), 1);
    EXPECT_EQ(categoria->count(), 3);
}

TEST_F(Form1Test, ClearAndSearchThroughTheirAccessKeys) {
    Form1* window = open();
    auto* jornada = child<QComboBox>(window, "JornadaCbo");
    auto* eje = child<QComboBox>(window, "EjeTemCbo");
    auto* subtema = child<QComboBox>(window, "SubtemaCbo");
    auto* palabra = child<QLineEdit>(window, "BusquedaTxt");

    jornada->setCurrentIndex(2);
    window->Filters().Controls().EjeTemCbo->SetListIndex(
        eje->findText(QStringLiteral("Régimen de partidos")));
    window->Filters().Controls().SubtemaCbo->SetListIndex(1);
    palabra->setFocus();
    QTest::keyClicks(palabra, QStringLiteral("O'Brien"));
    QTest::keyClick(palabra, Qt::Key_Return);  // no default button: Enter searches nothing
    EXPECT_TRUE(searches_.outcomes.isEmpty());

    // Day 2 has no proposal on that axis; F4 alone has it, with that subtopic and keyword, on
    // day 3.
    test::PressAccessKey(window, 'B');
    ASSERT_EQ(searches_.outcomes.size(), 1);
    EXPECT_EQ(searches_.outcomes[0], QString::fromUtf8(kNoRecordsMessage));
    jornada->setCurrentIndex(jornada->findText(QStringLiteral("3")));
    test::PressAccessKey(window, 'B');
    ASSERT_EQ(searches_.outcomes.size(), 2);
    EXPECT_EQ(searches_.folios(1), QStringList{"F4"});

    test::PressAccessKey(window, 'L');
    EXPECT_EQ(jornada->currentIndex(), 0);
    EXPECT_EQ(subtema->currentText(), QStringLiteral("Todos los subtemas"));
    EXPECT_EQ(palabra->text(), QString());
    EXPECT_EQ(searches_.outcomes.size(), 2);  // Clear runs no search

    QTest::mouseClick(child<QPushButton>(window, "CommandBuscar"), Qt::LeftButton);
    ASSERT_EQ(searches_.outcomes.size(), 3);
    // Every proposal, by day, axis, subtopic and category.
    EXPECT_EQ(searches_.folios(2), QStringList({"F3", "F1", "F5", "F2", "F7", "F4", "F6"}));
}

// Enter, like Space, presses the button that holds the focus, as on the original forms; no
// button is the window's default, so Enter in a list or in the keyword box starts nothing.
TEST_F(Form1Test, EnterPressesTheFocusedButtonAndNothingElse) {
    Form1* window = open();
    auto* buscar = child<QPushButton>(window, "CommandBuscar");
    ASSERT_EQ(QApplication::focusWidget(), buscar);  // where loading leaves the focus
    for (const char* name : {"CommandBuscar", "CommandLimpiar", "CommandAtras", "CommandSalir"}) {
        EXPECT_FALSE(child<QPushButton>(window, name)->isDefault()) << name;
    }

    QTest::keyClick(window->windowHandle(), Qt::Key_Return);
    ASSERT_EQ(searches_.outcomes.size(), 1);
    EXPECT_EQ(searches_.folios(0).size(), 7);  // every proposal
    QTest::keyClick(window->windowHandle(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(searches_.outcomes.size(), 2);
    QTest::keyClick(window->windowHandle(), Qt::Key_Space);
    EXPECT_EQ(searches_.outcomes.size(), 3);

    auto* palabra = child<QLineEdit>(window, "BusquedaTxt");
    palabra->setFocus();
    QTest::keyClicks(palabra, QStringLiteral("voto"));
    QTest::keyClick(window->windowHandle(), Qt::Key_Return);
    for (const char* name : {"JornadaCbo", "NormatividadCbo", "SubtemaCbo"}) {
        child<QWidget>(window, name)->setFocus();
        QTest::keyClick(window->windowHandle(), Qt::Key_Return);
    }
    EXPECT_EQ(searches_.outcomes.size(), 3);

    // Enter on the focused Clear clears, and searches nothing.
    auto* limpiar = child<QPushButton>(window, "CommandLimpiar");
    limpiar->setFocus();
    QTest::keyClick(window->windowHandle(), Qt::Key_Return);
    EXPECT_EQ(palabra->text(), QString());
    EXPECT_EQ(searches_.outcomes.size(), 3);

    // Enter on the focused Back leaves for the main window.
    child<QPushButton>(window, "CommandAtras")->setFocus();
    QTest::keyClick(window->windowHandle(), Qt::Key_Return);
    EXPECT_FALSE(Windows::IsLoaded(WindowId::Query));
    EXPECT_TRUE(Windows::IsLoaded(WindowId::Main));
}

TEST_F(Form1Test, BackOpensAFreshMainWindowAndTheQueryWindowStartsOverNextTime) {
    Form1* window = open();
    QPointer<Form1> watched(window);
    child<QComboBox>(window, "JornadaCbo")->setCurrentIndex(1);
    test::PressAccessKey(window, 'A');
    EXPECT_FALSE(Windows::IsLoaded(WindowId::Query));
    EXPECT_TRUE(Windows::IsLoaded(WindowId::Main));
    EXPECT_EQ(StandInWindow::loads, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());

    Windows::Unload(WindowId::Main);
    Form1* again = open();
    EXPECT_EQ(child<QComboBox>(again, "JornadaCbo")->currentIndex(), 0);
    EXPECT_EQ(child<QComboBox>(again, "JornadaCbo")->count(), 4);
}

TEST_F(Form1Test, ExitAndTheCloseBoxUnloadTheSplashToo) {
    for (bool byExit : {true, false}) {
        Windows::Show(WindowId::Splash);
        Form1* window = open();
        if (byExit) {
            test::PressAccessKey(window, 'S');
        } else {
            window->close();  // the platform's own close
        }
        for (WindowId id : {WindowId::Query, WindowId::Splash, WindowId::Main}) {
            EXPECT_FALSE(Windows::IsLoaded(id)) << byExit;
        }
    }
    EXPECT_EQ(StandInWindow::loads, 2);  // the two splashes; no main window was opened
}

// A store that fails while the window loads: NavigationTest, with the real program around it.

}  // namespace
}  // namespace ponencias
