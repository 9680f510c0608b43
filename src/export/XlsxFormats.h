#pragma once

#include <xlsxwriter.h>

#include <unordered_map>

#include "SheetFormat.h"

namespace ponencias {

class Worksheet;

// The sheet's formats as libxlsxwriter formats: each distinct effective format becomes one
// library format, made on first use and added to the workbook in that order, and shared by
// every cell, row and column that shows it. The spreadsheet's codes (alignments, line styles,
// palette colours already turned into RGB) are translated into the library's.
class XlsxFormats {
public:
    // `sheet` names the fonts; both must outlive this.
    XlsxFormats(lxw_workbook* workbook, const Worksheet& sheet)
        : workbook_(workbook), sheet_(sheet) {}

    // The library's format for `resolved`; null for a format that sets nothing.
    lxw_format* formatFor(const ResolvedFormat& resolved);

private:
    lxw_workbook* workbook_;
    const Worksheet& sheet_;
    std::unordered_map<ResolvedFormat, lxw_format*, ResolvedFormatHash> formats_;
};

}  // namespace ponencias
