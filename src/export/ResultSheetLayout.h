#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <string_view>

namespace ponencias {

// The result sheet, described once: what each column shows and how wide it is, how the header
// and the data rows look, how high the rows are, which titles link to their document and the
// view the sheet opens with. The writer (ResultSheetWriter) writes exactly this.
//
// The look is the one the consultation's users knew, made by formatting steps applied one after
// another (the sheet font, the header cells, the data rows' layout, the column widths, the
// borders, the links, the frozen header); what those steps leave on each cell is written here
// directly: where a later step overrode an earlier one, only the result stands.

enum class Horizontal : uint8_t { General, Left, Center, Justify };
enum class Vertical : uint8_t { Bottom, Top, Center };

inline constexpr uint32_t kNone = 0xFFFFFFFF;  // no colour: the automatic one, no fill

// A cell's look, always in the sheet font.
struct CellFormat {
    bool bold = false;
    uint32_t fontColor = kNone;  // 0xRRGGBB
    bool underline = false;
    uint32_t fill = kNone;  // a solid fill, 0xRRGGBB
    bool borders = false;   // a thin line on the four edges
    Horizontal horizontal = Horizontal::General;
    Vertical vertical = Vertical::Bottom;
    bool wrap = false;
};

inline constexpr const char* kSheetFontName = "Arial Narrow";
inline constexpr double kSheetFontSize = 11;  // points; every cell of the sheet

// Row 1: white bold captions on dark brown (palette entries 2 and 53), centred both ways.
inline constexpr CellFormat kHeaderFormat = {.bold = true,
                                             .fontColor = 0xFFFFFF,
                                             .fill = 0x993300,
                                             .borders = true,
                                             .horizontal = Horizontal::Center,
                                             .vertical = Vertical::Center};
// A data row as a whole: wrapped text from the top (a tall row with short text would otherwise
// leave it at the bottom, far from its neighbours' first lines). Its cells add their borders and
// their column's alignment.
inline constexpr CellFormat kDataRowFormat = {
    .horizontal = Horizontal::Left, .vertical = Vertical::Top, .wrap = true};
// A linked title: the link's colour and underline over its data cell.
inline constexpr uint32_t kLinkColor = 0x0563C1;

inline constexpr double kHeaderRowHeight = 55;  // points
inline constexpr double kDataRowHeight = 150;

// A column's width is in the normal style's (Calibri 11) digit widths of 7 pixels at 96 dpi.
inline constexpr double kDigitPixels = 7.0;
// A column fitted to its caption, as a spreadsheet application's fit leaves it: the caption's
// width in whole pixels in the header's font (Arial Narrow bold, 11 points at 96 dpi) and 2
// pixels of room beyond it. The captions were measured once with the narrow font's own metrics
// (Liberation Sans Narrow stands in for Arial Narrow, glyph for glyph) and their widths are kept
// here, so that the sheet comes out the same on every machine, whatever fonts it has; a test
// measures them again. Data never widens a column.
constexpr double FittedToCaption(int captionPixels) {
    return (captionPixels + 2) / kDigitPixels;
}

// Column c of the sheet (1 to 16): its caption, the result's field it shows, its width in the
// sheet's character units, and how its data cells are aligned. A justified column is justified
// all the way down, below the data rows too, but for its centred header.
struct ResultColumn {
    const char* caption;  // UTF-8
    const char* field;
    double width;
    Horizontal data;
};
inline constexpr std::array<ResultColumn, 16> kResultColumns = {{
    {"FOLIO", "FOLIO", FittedToCaption(37), Horizontal::Left},
    {"ID", "ID", 16, Horizontal::Left},
    {"ESTADO / PAÍS", "ESTADO", 25, Horizontal::Left},
    {"EDAD", "EDAD", FittedToCaption(35), Horizontal::Left},
    {"SEXO", "SEXO", 12, Horizontal::Left},
    {"PERFIL DEL PONENTE", "PERFIL_PONENTE", 20, Horizontal::Left},
    {"JORNADA", "NUM_JORNADA", 30, Horizontal::Left},
    {"EJE TEMÁTICO", "EJE_TEMATICO", 50, Horizontal::Left},
    {"SUBTEMA", "SUBTEMA", 35, Horizontal::Left},
    {"CATEGORÍA POR SUBTEMA", "CATEGORIA_SUBTEMA", FittedToCaption(164), Horizontal::Left},
    {"TÍTULO", "TITULO", 70, Horizontal::Left},
    {"RESUMEN", "RESUMEN", 80, Horizontal::Justify},
    {"NORMATIVIDAD A MODIFICAR 1", "NORMATIVIDAD_MODIFICAR_1", FittedToCaption(186),
     Horizontal::Left},
    {"NORMATIVIDAD A MODIFICAR 2", "NORMATIVIDAD_MODIFICAR_2", FittedToCaption(186),
     Horizontal::Left},
    {"NORMATIVIDAD A MODIFICAR 3", "NORMATIVIDAD_MODIFICAR_3", FittedToCaption(186),
     Horizontal::Left},
    {"NORMATIVIDAD A MODIFICAR 4", "NORMATIVIDAD_MODIFICAR_4", FittedToCaption(186),
     Horizontal::Left},
}};
// The caption of the column that shows `field`, or nullptr for a field the sheet leaves out.
constexpr const char* SheetCaptionOf(std::string_view field) {
    for (const ResultColumn& column : kResultColumns) {
        if (field == column.field) {
            return column.caption;
        }
    }
    return nullptr;
}
// K: the title, a link to the proposal's document unless its folio is in UnlinkedFolios.
inline constexpr int kTitleColumn = 11;

// Folios whose title is written without a link: their documents were never published.
inline constexpr std::array<int, 34> UnlinkedFolios = {
    302,  818,  824,  825,  826,  925,  1152, 1180, 1417, 1464, 1485, 1507,
    1742, 1754, 1755, 1756, 1758, 1759, 1760, 1761, 1762, 1763, 1764, 1765,
    1767, 1769, 2904, 3167, 3168, 3169, 3170, 3171, 3337, 3418,
};

// The header stays in view while the sheet scrolls (the panes frozen below row 1), and the sheet
// opens with A2, the first data cell, selected.
inline constexpr int kFrozenRows = 1;
inline constexpr int kSelectedRow = 2;
inline constexpr int kSelectedColumn = 1;

// The web folder that holds the proposals' documents; ends with "/ardem/ponencias/".
QString DocumentBaseAddress();
// DocumentBaseAddress, the folio (percent-encoded where a URL needs it) and ".doc".
QString DocumentAddress(const QString& folio);
// Whether the folio's text, read as a number ("0302" and " 302" read as 302), is one of
// UnlinkedFolios. A folio that is not a number is not.
bool IsUnlinkedFolio(const QString& folio);

}  // namespace ponencias
