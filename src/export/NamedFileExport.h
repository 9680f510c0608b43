#pragma once

#include <QString>

class QIODevice;

namespace ponencias {

// The result written to files the caller names, for the command-line companion and the
// application folder's workbook: the same query and the same export code as a search, with the
// workbook written to the named file, complete or not at all (see ResultSheetWriter). Returns
// the number of proposals written; an empty result writes no file. Throws StoreError when the
// store fails, OutputError when the file cannot be written, SpreadsheetError when the
// spreadsheet library fails otherwise. What the workbook cannot hold (rows beyond the sheet's
// 1,048,575) is reported on standard error.
long WriteResultWorkbook(const QString& queryText, const QString& path);

// The same rows as CSV (RFC 4180, UTF-8), their fields read by position as RunResultExport reads
// them: the sixteen header captions and kDocumentAddressCaption, then one line per proposal, its
// last field the address the title's link in the sheet leads to (empty for a title the sheet does
// not link). The header line is written even when nothing matches. Returns the row count.
// Throws StoreError when the store fails, std::runtime_error when `out` refuses the bytes.
long WriteResultCsv(const QString& queryText, QIODevice& out);
inline constexpr const char* kDocumentAddressCaption = "DIRECCIÓN DEL DOCUMENTO";

}  // namespace ponencias
