#pragma once

#include <QString>
#include <stdexcept>

namespace ponencias {

class FileReplacement;

// A spreadsheet file that could not be made or read for a reason that is not the system's: the
// xlsx library failed, or a file is not an Office Open XML spreadsheet.
class SpreadsheetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An Office Open XML spreadsheet is a workbook or a template by the content type of its main
// part, nothing else: the sheet, its styles and links are the same. A spreadsheet application
// opens a template as a new, untitled workbook based on it, so the user's first save asks where.
enum class SpreadsheetFileKind { Workbook, Template };

inline constexpr const char* kWorkbookMimeType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";
inline constexpr const char* kTemplateMimeType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.template";
// The file's extension for the kind, without the dot: "xlsx" or "xltx".
QString SpreadsheetFileSuffix(SpreadsheetFileKind kind);

// Makes the spreadsheet being written through `file` (at its temporaryPath) a file of `kind`:
// only the part [Content_Types].xml is replaced, every other part is copied as it is, without
// being compressed again (libzip copies unchanged entries raw). libzip writes the new archive
// beside the old one and renames it over; `file` then goes on with the new one. A file already
// of that kind is left untouched. Throws OutputError naming file.path() when the file cannot be
// read or written, SpreadsheetError when it is not an Office Open XML spreadsheet.
void SetSpreadsheetFileKind(FileReplacement& file, SpreadsheetFileKind kind);

// Writes a workbook (.xlsx) at `destination` from the saved result file `source`, a workbook or
// a template, complete or not at all, like every output (FileReplacement). Throws OutputError
// naming `destination` (or `source`, when it cannot be read), SpreadsheetError as above.
void SaveWorkbookCopy(const QString& source, const QString& destination);

}  // namespace ponencias
