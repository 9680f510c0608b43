#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "ShellTestSupport.h"
#include "store/StoreError.h"
#include "windows/ErrorReport.h"

namespace ponencias::test {
namespace {

using ErrorReportTest = ShellTest;

template <typename Failure>
ErrorReport describe(const Failure& failure) {
    return DescribeError(std::make_exception_ptr(failure));
}

TEST_F(ErrorReportTest, DescribesStoreAndOtherFailures) {
    const ErrorReport store =
        describe(StoreError(3024, QStringLiteral("No se encuentra el archivo 'Ponencias.mdb'.")));
    EXPECT_EQ(store.number, 3024);
    EXPECT_EQ(store.description, QStringLiteral("No se encuentra el archivo 'Ponencias.mdb'."));
    EXPECT_EQ(describe(std::bad_alloc()).number, 7);
    EXPECT_EQ(describe(std::out_of_range("índice 9")).number, 9);
    const ErrorReport other = describe(std::runtime_error("algo falló"));
    EXPECT_EQ(other.number, 1004);
    EXPECT_TRUE(other.description.endsWith(QStringLiteral(": algo falló")));
    EXPECT_EQ(DescribeError(std::make_exception_ptr(42)).number, 1004);
    EXPECT_EQ(ErrorReportText({3024, QStringLiteral("Falta.")}),
              QStringLiteral("Se ha producido el error '3024' en tiempo de ejecución:\n\nFalta."));
}

TEST_F(ErrorReportTest, AFailureEscapingAnEventHandlerIsReportedAndEndsTheProgram) {
    QPushButton button(QStringLiteral("Falla"));
    QObject::connect(&button, &QPushButton::clicked, [] {
        throw StoreError(3343, QStringLiteral("Formato de base de datos no reconocido."));
    });
    button.show();
    MessageBoxWatcher boxes;
    bool reachedAfterClick = false;
    const int status = RunProgram([&] {
        QTest::mouseClick(&button, Qt::LeftButton);
        reachedAfterClick = true;
    });
    EXPECT_TRUE(reachedAfterClick);  // the event loop survived the failure to end in order
    EXPECT_EQ(status, kUnhandledErrorExitStatus);
    EXPECT_EQ(UnhandledErrorStatus(), kUnhandledErrorExitStatus);
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen()[0].title, QStringLiteral("Ponencias"));
    EXPECT_EQ(boxes.seen()[0].icon, static_cast<int>(QMessageBox::Critical));
    EXPECT_TRUE(boxes.seen()[0].text.contains(QStringLiteral("3343")));
    EXPECT_TRUE(
        boxes.seen()[0].text.contains(QStringLiteral("Formato de base de datos no reconocido.")));
}

TEST_F(ErrorReportTest, OnlyTheFirstFailureIsShownAndAFailureBeforeTheLoopEndsAtOnce) {
    MessageBoxWatcher boxes;
    EXPECT_FALSE(RunReportingErrors([] { throw std::runtime_error("primero"); }));
    EXPECT_FALSE(RunReportingErrors([] { throw std::runtime_error("segundo"); }));
    EXPECT_TRUE(RunReportingErrors([] {}));
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_TRUE(boxes.seen()[0].text.contains(QStringLiteral("primero")));
    // The program's Run() does not start a loop it would never leave.
    EXPECT_EQ(static_cast<Application*>(qApp)->Run(), kUnhandledErrorExitStatus);
}

}  // namespace
}  // namespace ponencias::test
