#pragma once

#include <QString>
#include <array>

#include "SpreadsheetFileKind.h"

namespace ponencias {

// The end of every search: runs the query text on the proposal store and writes the matching
// proposals into a new, formatted workbook that the desktop's spreadsheet application shows, or
// tells the user that nothing matched (or that the store could not be read).
void ExportResultSheet(const QString& queryText);

// The sixteen header captions, at indices 1 to 16 (index 0 is unused).
extern std::array<QString, 17> HeaderCaptions;
// Writes the captions of the column map into HeaderCaptions.
void FillHeaderCaptions();

// Column c of the sheet (1 to 16): its caption and the result field it shows.
struct ResultColumn {
    const char* caption;
    const char* field;
};
extern const std::array<ResultColumn, 16> kResultColumns;
inline constexpr int kTitleColumn = 11;  // K: the link to the proposal's document

// The web folder that holds the proposals' documents; ends with "/ardem/ponencias/".
QString DocumentBaseAddress();
// DocumentBaseAddress, the folio (percent-encoded where a URL needs it) and ".doc".
QString DocumentAddress(const QString& folio);

// Folios whose title is written without a link.
inline constexpr std::array<int, 34> UnlinkedFolios = {
    302,  818,  824,  825,  826,  925,  1152, 1180, 1417, 1464, 1485, 1507,
    1742, 1754, 1755, 1756, 1758, 1759, 1760, 1761, 1762, 1763, 1764, 1765,
    1767, 1769, 2904, 3167, 3168, 3169, 3170, 3171, 3337, 3418,
};
// Whether the folio's text, read as a number ("0302" and " 302" read as 302), is one of
// UnlinkedFolios. A folio that is not a number is not.
bool IsUnlinkedFolio(const QString& folio);

// A sheet holds 1,048,576 rows: the header and this many proposals.
inline constexpr long kMaxDataRows = 1048575;

// Limits of one export; the defaults are those of the xlsx format.
struct ExportLimits {
    long maxDataRows = kMaxDataRows;
    int maxLinkRecords = 65530;
};
// The limits for a result of `rowsInResult` rows: one with more rows than the format's link
// records links every title by a HYPERLINK formula, so the whole sheet links one way, and the
// writer holds no per-link records (about 2 KB each in the xlsx library) while it packs the file.
ExportLimits LimitsForResult(const ExportLimits& limits, long rowsInResult);
// ExportResultSheet with other limits, so that their handling can be checked on small results.
void ExportResultSheetWithLimits(const QString& queryText, const ExportLimits& limits);

}  // namespace ponencias
