#pragma once

#include <QApplication>
#include <QString>
#include <exception>

namespace ponencias {

// What the standard error report shows of a failure: a number the user can quote and a
// description.
struct ErrorReport {
    int number = 0;
    QString description;
};

// A store failure keeps its own number and description; any other failure gets the number the
// forms runtime gives its kind.
ErrorReport DescribeError(std::exception_ptr error);
// The report's text: the number on the first line, the description after an empty line.
QString ErrorReportText(const ErrorReport& report);

// The exit status of a program ended by a failure.
inline constexpr int kUnhandledErrorExitStatus = 1;

// The standard error report for a failure that no handler caught: a critical message box titled
// "Ponencias" with the error's number and description, then the end of the program with a
// non-zero status. Only the first failure is shown; the program is already ending by then.
void ReportUnhandledError(std::exception_ptr error);
// Zero until a failure has been reported, then the status the program ends with.
int UnhandledErrorStatus();
void ResetUnhandledErrorForTesting();

// Runs an action; whatever escapes it goes to the standard error report. True when it ran to its
// end.
template <typename Action>
bool RunReportingErrors(Action&& action) {
    try {
        action();
        return true;
    } catch (...) {
        ReportUnhandledError(std::current_exception());
        return false;
    }
}

// The program's application object. Exceptions must never cross Qt's event loop, so every event
// is delivered inside a guard that sends an escaping failure to the standard error report.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
    // Runs the event loop until the last window closes, and gives the program's exit status. A
    // failure already reported before the loop starts ends the program at once.
    int Run();
};

}  // namespace ponencias
