#pragma once

#include <QString>
#include <exception>
#include <memory>

#include "ResultSheetWriter.h"

namespace ponencias {

// The file one export's workbook goes to, written while the result is read, so that only the
// row being written is held in memory.
class ResultWorkbookFile {
public:
    // A new, dated name in the results folder (ReserveResultFile), reserved when the file is
    // started; an unfinished file there is removed.
    static ResultWorkbookFile InResultsFolder();
    // The file the user named: nothing is made there before the workbook is complete, and a
    // file already there keeps its content until then.
    static ResultWorkbookFile At(const QString& path);

    Q_DISABLE_COPY(ResultWorkbookFile)
    ~ResultWorkbookFile() { discard(); }

    // Starts the file. A failure is not thrown here but by finish(): the export still reads the
    // whole result, and the failure is told once, at the end.
    void start(const XlsxWriteOptions& options);
    // The sheet being written; null when the file could not be started.
    ResultSheetWriter* sheet() { return writer_.get(); }
    // Completes the started file. Throws OutputError (the file and the system's reason) or
    // SpreadsheetError, the start's failure included, leaving nothing.
    XlsxWriteReport finish();
    // The file's path; empty before one is known. Kept after a failure, for the message.
    const QString& path() const { return path_; }
    // Lets go of an unfinished file: only a name this export reserved is removed.
    void discard();

private:
    explicit ResultWorkbookFile(const QString& path)
        : path_(path), inResultsFolder_(path.isEmpty()) {}
    // The path to write: the named one, or a newly reserved one in the results folder.
    QString reserve(SpreadsheetFileKind kind);

    QString path_;
    bool inResultsFolder_;
    bool reserved_ = false;  // a placeholder of ours is at path_
    std::unique_ptr<ResultSheetWriter> writer_;
    std::exception_ptr failure_;  // why start() could not make the file
};

// The folder the result workbooks are saved in, under the user's temporary location; created
// (for this user only) when missing.
QString ResultsFolder();
// A new, empty file in ResultsFolder named "Consulta de ponencias YYYY-MM-DD HH.MM.SS.xlsx", or
// ".xltx" for a template (a " (2)", " (3)" … before the extension when the name is taken),
// created exclusively so no other file is ever overwritten. Throws OutputError or
// SpreadsheetError when none can be made.
QString ReserveResultFile(SpreadsheetFileKind kind = SpreadsheetFileKind::Workbook);

// Where a result handed over as a workbook is kept: an application that opens a workbook by
// name saves over that very file, so it must not be in a folder the next reboot empties.
// "Consultas de ponencias" in the user's documents folder (the home folder where there is none).
QString KeptResultsFolder();
// Moves the saved result at `path` into KeptResultsFolder (made when missing) under a new dated
// name, reserved as in ReserveResultFile, so nothing there is overwritten; returns its path.
// Throws OutputError (the file or folder, and the system's reason) or SpreadsheetError; the
// result then stays at `path` and nothing is left in the folder.
QString KeepResultFile(const QString& path);

}  // namespace ponencias
