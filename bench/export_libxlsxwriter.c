/* The floor of bench_export: the result workbook written with bare libxlsxwriter, the library the
 * export itself uses, from the same SQLite store read with SQLite's C API, and nothing else. The
 * same query, cells, formats, column widths, row heights, links and frozen pane as the export
 * writes, in the library's constant-memory mode. As the export does, it counts the query's rows
 * before the first one: a result with more rows than the format has link records links every
 * title by a HYPERLINK formula, the title its cached result.
 *
 *   export_libxlsxwriter STORE.sqlite QUERY OUT.xlsx BASE_ADDRESS
 *
 * QUERY selects the sheet's sixteen columns in the sheet's order, first; further ones are not
 * written. Exits 0 once the workbook is closed; any failure is a message on standard error and
 * status 1.
 */
#include <sqlite3.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <xlsxwriter.h>

enum { kColumns = 16, kTitleColumn = 10, kSummaryColumn = 11 };

/* The link records a sheet holds; the longest formula, and the longest string literal in one. */
enum { kMaxLinkRecords = 65530, kMaxFormulaLength = 8192, kMaxFormulaLiteral = 255 };

static const char* const kCaptions[kColumns] = {"FOLIO",
                                                "ID",
                                                "ESTADO / PAÍS",
                                                "EDAD",
                                                "SEXO",
                                                "PERFIL DEL PONENTE",
                                                "JORNADA",
                                                "EJE TEMÁTICO",
                                                "SUBTEMA",
                                                "CATEGORÍA POR SUBTEMA",
                                                "TÍTULO",
                                                "RESUMEN",
                                                "NORMATIVIDAD A MODIFICAR 1",
                                                "NORMATIVIDAD A MODIFICAR 2",
                                                "NORMATIVIDAD A MODIFICAR 3",
                                                "NORMATIVIDAD A MODIFICAR 4"};

/* The proposals whose documents were never published: their titles are not linked. */
static const int kUnlinked[] = {302,  818,  824,  825,  826,  925,  1152, 1180, 1417,
                                1464, 1485, 1507, 1742, 1754, 1755, 1756, 1758, 1759,
                                1760, 1761, 1762, 1763, 1764, 1765, 1767, 1769, 2904,
                                3167, 3168, 3169, 3170, 3171, 3337, 3418};

/* Columns A, D, J and M to P as the export fits them to their captions, the others fixed. */
static const double kWidths[kColumns] = {39 / 7.0,  16,        25,        37 / 7.0,  12, 20,
                                         30,        50,        35,        166 / 7.0, 70, 80,
                                         188 / 7.0, 188 / 7.0, 188 / 7.0, 188 / 7.0};

static lxw_format* NewFormat(lxw_workbook* book) {
    lxw_format* f = workbook_add_format(book);
    format_set_font_name(f, "Arial Narrow");
    format_set_font_size(f, 11);
    return f;
}

/* A data cell: wrapped from the top, its borders and its alignment. */
static lxw_format* DataFormat(lxw_workbook* book, uint8_t align, int border) {
    lxw_format* f = NewFormat(book);
    format_set_align(f, align);
    format_set_align(f, LXW_ALIGN_VERTICAL_TOP);
    format_set_text_wrap(f);
    if (border) {
        format_set_border(f, LXW_BORDER_THIN);
    }
    return f;
}

/* A text of 1 to 15 digits not starting with 0 is written as the number it spells. */
static int IsNumber(const char* text) {
    size_t n = strlen(text);
    if (n == 0 || n > 15 || text[0] < '1' || text[0] > '9') {
        return 0;
    }
    return strspn(text, "0123456789") == n;
}

static int IsUnlinked(const char* folio) {
    char* end = NULL;
    double value = strtod(folio, &end);
    if (end == folio) {
        return 0;
    }
    for (size_t i = 0; i < sizeof kUnlinked / sizeof kUnlinked[0]; ++i) {
        if (value == kUnlinked[i]) {
            return 1;
        }
    }
    return 0;
}

/* The document's address: the base followed by the folio, percent-encoded, and ".doc". */
static void DocumentAddress(char* url, const char* base, const char* folio) {
    char* out = url + sprintf(url, "%s", base);
    for (const unsigned char* c = (const unsigned char*)folio; *c; ++c) {
        if ((*c >= '0' && *c <= '9') || (*c >= 'A' && *c <= 'Z') || (*c >= 'a' && *c <= 'z') ||
            strchr("-._~", *c)) {
            *out++ = (char)*c;
        } else {
            out += sprintf(out, "%%%02X", *c);
        }
    }
    strcpy(out, ".doc");
}

/* The UTF-16 units of the UTF-8 character that starts with `lead`: the export's lengths. */
static size_t Units(unsigned char lead) {
    return lead >= 0xF0 ? 2 : 1;
}

/* `text` as the formula's string, from `out` on: quotes doubled, cut into literals of at most
 * kMaxFormulaLiteral units joined with "&". Returns the end; `units` grows by what it wrote. */
static char* FormulaString(char* out, const char* text, size_t* units) {
    if (!*text) {
        *units += 2;
        return out + sprintf(out, "\"\"");
    }
    const unsigned char* c = (const unsigned char*)text;
    while (*c) {
        if (c != (const unsigned char*)text) {
            *out++ = '&';
            ++*units;
        }
        *out++ = '"';
        size_t piece = 0;
        while (*c && piece + Units(*c) <= kMaxFormulaLiteral) {
            piece += Units(*c);
            if (*c == '"') {
                *out++ = '"';
                ++*units;
            }
            do {
                *out++ = (char)*c++;
            } while ((*c & 0xC0) == 0x80);
        }
        *out++ = '"';
        *units += piece + 2;
    }
    *out = '\0';
    return out;
}

/* HYPERLINK(address, title) into `formula`, which holds 3 bytes a byte of both and 32 more;
 * 0 when the formula is too long for a cell. */
static int LinkFormula(char* formula, const char* address, const char* title) {
    size_t units = strlen("HYPERLINK(,)");
    char* out = formula + sprintf(formula, "HYPERLINK(");
    out = FormulaString(out, address, &units);
    *out++ = ',';
    out = FormulaString(out, title, &units);
    strcpy(out, ")");
    return units < kMaxFormulaLength;
}

static int failed;

static void Check(lxw_row_t row, lxw_error error) {
    if (error != LXW_NO_ERROR && !failed) {
        fprintf(stderr, "fila %u: %s\n", (unsigned)row, lxw_strerror(error));
        failed = 1;
    }
}

int main(int argc, char** argv) {
    if (argc != 5) {
        fprintf(stderr, "uso: %s ALMACÉN.sqlite CONSULTA LIBRO.xlsx DIRECCIÓN_BASE\n", argv[0]);
        return 1;
    }
    sqlite3* db = NULL;
    sqlite3_stmt* rows = NULL;
    /* The sort in memory up to 16 MiB, as the export's store sorts. */
    if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READONLY, NULL) != SQLITE_OK ||
        sqlite3_exec(db, "PRAGMA cache_size = -16384", NULL, NULL, NULL) != SQLITE_OK ||
        sqlite3_prepare_v2(db, argv[2], -1, &rows, NULL) != SQLITE_OK ||
        sqlite3_column_count(rows) < kColumns) {
        fprintf(stderr, "%s: %s\n", argv[1], sqlite3_errmsg(db));
        return 1;
    }
    /* The rows counted first, as the export does, by SQLite over the query. */
    char* counting = malloc(strlen(argv[2]) + 32);
    sqlite3_stmt* counter = NULL;
    if (!counting) {
        fprintf(stderr, "sin memoria\n");
        return 1;
    }
    /* Without the query's last order clause when no LIMIT follows it, as the export counts: the
     * order does not change how many rows there are, and SQLite would sort what it only counts. */
    const char* order = NULL;
    for (const char* at = strstr(argv[2], "ORDER BY"); at; at = strstr(at + 1, "ORDER BY")) {
        order = at;
    }
    const int counted =
        order && !strstr(order, "LIMIT") ? (int)(order - argv[2]) : (int)strlen(argv[2]);
    sprintf(counting, "SELECT COUNT(*) FROM (%.*s\n)", counted, argv[2]);
    if (sqlite3_prepare_v2(db, counting, -1, &counter, NULL) != SQLITE_OK ||
        sqlite3_step(counter) != SQLITE_ROW) {
        fprintf(stderr, "%s: %s\n", argv[1], sqlite3_errmsg(db));
        return 1;
    }
    const int formulas = sqlite3_column_int64(counter, 0) > kMaxLinkRecords;
    sqlite3_finalize(counter);
    free(counting);
    lxw_workbook_options options = {.constant_memory = LXW_TRUE, .tmpdir = NULL};
    lxw_workbook* book = workbook_new_opt(argv[3], &options);
    lxw_worksheet* sheet = book ? workbook_add_worksheet(book, "Hoja1") : NULL;
    if (!sheet) {
        fprintf(stderr, "%s: no se pudo crear el libro\n", argv[3]);
        return 1;
    }
    lxw_format* header = NewFormat(book);
    format_set_bold(header);
    format_set_font_color(header, 0xFFFFFF);
    format_set_pattern(header, LXW_PATTERN_SOLID);
    format_set_bg_color(header, 0x993300);
    format_set_border(header, LXW_BORDER_THIN);
    format_set_align(header, LXW_ALIGN_CENTER);
    format_set_align(header, LXW_ALIGN_VERTICAL_CENTER);
    lxw_format* row = DataFormat(book, LXW_ALIGN_LEFT, 0);
    lxw_format* data = DataFormat(book, LXW_ALIGN_LEFT, 1);
    lxw_format* justified = DataFormat(book, LXW_ALIGN_JUSTIFY, 1);
    lxw_format* link = DataFormat(book, LXW_ALIGN_LEFT, 1);
    format_set_font_color(link, 0x0563C1);
    format_set_underline(link, LXW_UNDERLINE_SINGLE);

    Check(0, worksheet_set_row(sheet, 0, 55, NULL));
    for (lxw_col_t c = 0; c < kColumns; ++c) {
        Check(0, worksheet_write_string(sheet, 0, c, kCaptions[c], header));
    }
    char* url = malloc(strlen(argv[4]) + 3 * 4096 + 5);
    char* formula = NULL;
    size_t formulaSize = 0;
    lxw_row_t r = 0;
    int step;
    while ((step = sqlite3_step(rows)) == SQLITE_ROW) {
        ++r;
        Check(r, worksheet_set_row(sheet, r, 150, row));
        const char* folio = (const char*)sqlite3_column_text(rows, 0);
        folio = folio ? folio : "";
        for (int c = 0; c < kColumns; ++c) {
            const char* text = (const char*)sqlite3_column_text(rows, c);
            text = text ? text : "";
            lxw_format* f = c == kSummaryColumn ? justified : data;
            if (c == kTitleColumn && !IsUnlinked(folio) && strlen(folio) < 4096) {
                DocumentAddress(url, argv[4], folio);
                if (!formulas) {
                    Check(r,
                          worksheet_write_url_opt(sheet, r, (lxw_col_t)c, url, link, text, NULL));
                    continue;
                }
                size_t size = 3 * (strlen(url) + strlen(text)) + 32;
                if (size > formulaSize) {
                    free(formula);
                    formulaSize = 2 * size;
                    formula = malloc(formulaSize);
                    if (!formula) {
                        fprintf(stderr, "fila %u: sin memoria\n", (unsigned)r);
                        return 1;
                    }
                }
                if (LinkFormula(formula, url, text)) {
                    Check(r,
                          worksheet_write_formula_str(sheet, r, (lxw_col_t)c, formula, link, text));
                } else {
                    Check(r, worksheet_write_string(sheet, r, (lxw_col_t)c, text, link));
                }
            } else if (!*text) {
                Check(r, worksheet_write_blank(sheet, r, (lxw_col_t)c, f));
            } else if (IsNumber(text)) {
                Check(r, worksheet_write_number(sheet, r, (lxw_col_t)c, strtod(text, NULL), f));
            } else {
                Check(r, worksheet_write_string(sheet, r, (lxw_col_t)c, text, f));
            }
        }
    }
    free(url);
    free(formula);
    if (step != SQLITE_DONE) {
        fprintf(stderr, "%s: %s\n", argv[1], sqlite3_errmsg(db));
        return 1;
    }
    sqlite3_finalize(rows);
    sqlite3_close(db);

    /* After the rows, as the export does: the sheet font everywhere, column L justified. */
    lxw_format* sheetFont = NewFormat(book);
    lxw_format* justifiedColumn = NewFormat(book);
    format_set_align(justifiedColumn, LXW_ALIGN_JUSTIFY);
    for (lxw_col_t c = 0; c < kColumns; ++c) {
        Check(r, worksheet_set_column(sheet, c, c, kWidths[c],
                                      c == kSummaryColumn ? justifiedColumn : sheetFont));
    }
    Check(r, worksheet_set_column(sheet, kColumns, LXW_COL_MAX - 1, LXW_DEF_COL_WIDTH, sheetFont));
    worksheet_freeze_panes(sheet, 1, 0);
    worksheet_set_selection(sheet, 1, 0, 1, 0);
    lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR) {
        fprintf(stderr, "%s: %s\n", argv[3], lxw_strerror(closed));
        return 1;
    }
    return failed;
}
