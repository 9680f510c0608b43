#pragma once

#include <QtGlobal>

namespace ponencias {

// Keeps a library's English lines off standard error while it closes a workbook: a failure is
// told once, by the caller, in Spanish. libxlsxwriter prints with fprintf(stderr) and offers no
// other channel, so descriptor 2 points to /dev/null for the life of this object only; errno is
// kept across the restore. The export's worker thread has stopped by then; a line another
// thread writes in that moment is lost, which is the price of the library's choice.
class QuietStandardError {
public:
    QuietStandardError();
    ~QuietStandardError();
    Q_DISABLE_COPY(QuietStandardError)

private:
    int saved_ = -1;
};

}  // namespace ponencias
