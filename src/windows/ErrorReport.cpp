#include "ErrorReport.h"

#include <QMessageBox>
#include <new>
#include <stdexcept>

#include "store/StoreError.h"

namespace ponencias {

namespace {
// The forms runtime's numbers for the failures a C++ program can meet outside the store.
constexpr int kOutOfMemory = 7;
constexpr int kSubscriptOutOfRange = 9;
constexpr int kApplicationDefined = 1004;

int& reportedStatus() {
    static int status = 0;
    return status;
}

QString withDetail(const QString& text, const char* what) {
    const QString detail = QString::fromUtf8(what ? what : "").trimmed();
    return detail.isEmpty() ? text : text + QStringLiteral(": ") + detail;
}
}  // namespace

ErrorReport DescribeError(std::exception_ptr error) {
    try {
        if (error) {
            std::rethrow_exception(error);
        }
    } catch (const StoreError& failure) {
        return {failure.number(), failure.description()};
    } catch (const std::bad_alloc&) {
        return {kOutOfMemory, QStringLiteral("Memoria insuficiente")};
    } catch (const std::out_of_range& failure) {
        return {
            kSubscriptOutOfRange,
            withDetail(QStringLiteral("El subíndice está fuera del intervalo"), failure.what())};
    } catch (const std::exception& failure) {
        return {kApplicationDefined,
                withDetail(QStringLiteral("Error definido por la aplicación o por el objeto"),
                           failure.what())};
    } catch (...) {
    }
    return {kApplicationDefined,
            QStringLiteral("Error definido por la aplicación o por el objeto")};
}

QString ErrorReportText(const ErrorReport& report) {
    return QStringLiteral("Se ha producido el error '%1' en tiempo de ejecución:\n\n%2")
        .arg(report.number)
        .arg(report.description);
}

void ReportUnhandledError(std::exception_ptr error) {
    const bool first = reportedStatus() == 0;
    reportedStatus() = kUnhandledErrorExitStatus;
    if (first && qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Ponencias"),
                        ErrorReportText(DescribeError(error)), QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    }
    // Leaves every running event loop, nested ones included; Run() gives the status.
    QCoreApplication::exit(kUnhandledErrorExitStatus);
}

int UnhandledErrorStatus() {
    return reportedStatus();
}

void ResetUnhandledErrorForTesting() {
    reportedStatus() = 0;
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportUnhandledError(std::current_exception());
        return false;
    }
}

int Application::Run() {
    if (UnhandledErrorStatus() != 0) {
        return UnhandledErrorStatus();
    }
    const int status = exec();
    return UnhandledErrorStatus() != 0 ? UnhandledErrorStatus() : status;
}

}  // namespace ponencias
