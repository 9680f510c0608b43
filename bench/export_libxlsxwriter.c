/* The floor of bench_export: the result workbook's cells written with bare libxlsxwriter, the
 * library the export itself uses, and nothing else. The same cells, formats, column widths, row
 * heights, links and frozen pane as the export writes for the same rows, read from the CSV the
 * companion writes (`ponencias-cli buscar --csv`).
 *
 *   export_libxlsxwriter ROWS.csv OUT.xlsx BASE_ADDRESS
 *
 * Exits 0 once the workbook is closed; any failure is a message on standard error and status 1.
 */
#include <csv.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <xlsxwriter.h>

enum { kColumns = 16, kTitleColumn = 10, kSummaryColumn = 11 };

/* The proposals whose documents were never published: their titles are not linked. */
static const int kUnlinked[] = {302,  818,  824,  825,  826,  925,  1152, 1180, 1417,
                                1464, 1485, 1507, 1742, 1754, 1755, 1756, 1758, 1759,
                                1760, 1761, 1762, 1763, 1764, 1765, 1767, 1769, 2904,
                                3167, 3168, 3169, 3170, 3171, 3337, 3418};

/* Columns A, D, J and M to P as the export fits them to their captions, the others fixed. */
static const double kWidths[kColumns] = {39 / 7.0,  16,        25,        37 / 7.0,  12, 20,
                                         30,        50,        35,        166 / 7.0, 70, 80,
                                         188 / 7.0, 188 / 7.0, 188 / 7.0, 188 / 7.0};

struct Sheet {
    lxw_workbook* book;
    lxw_worksheet* sheet;
    lxw_format* header;
    lxw_format* data;
    lxw_format* justified;
    lxw_format* link;
    const char* base;
    char* fields[kColumns];
    size_t count;
    lxw_row_t row;
    int failed;
};

static lxw_format* NewFormat(lxw_workbook* book, int border) {
    lxw_format* f = workbook_add_format(book);
    format_set_font_name(f, "Arial Narrow");
    format_set_font_size(f, 11);
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
static char* DocumentAddress(const char* base, const char* folio) {
    size_t length = strlen(base) + 3 * strlen(folio) + 5;
    char* url = malloc(length);
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
    return url;
}

static void Check(struct Sheet* s, lxw_error error) {
    if (error != LXW_NO_ERROR && !s->failed) {
        fprintf(stderr, "fila %u: %s\n", (unsigned)s->row, lxw_strerror(error));
        s->failed = 1;
    }
}

static void WriteRecord(struct Sheet* s) {
    lxw_worksheet* sheet = s->sheet;
    if (s->row == 0) {
        worksheet_set_row(sheet, 0, 55, NULL);
        for (size_t c = 0; c < s->count && c < kColumns; ++c) {
            Check(s, worksheet_write_string(sheet, 0, (lxw_col_t)c, s->fields[c], s->header));
        }
        return;
    }
    worksheet_set_row(sheet, s->row, 150, s->data);
    for (size_t c = 0; c < s->count && c < kColumns; ++c) {
        const char* text = s->fields[c];
        lxw_format* f = c == kSummaryColumn ? s->justified : s->data;
        if (c == kTitleColumn && !IsUnlinked(s->fields[0])) {
            char* url = DocumentAddress(s->base, s->fields[0]);
            Check(s,
                  worksheet_write_url_opt(sheet, s->row, (lxw_col_t)c, url, s->link, text, NULL));
            free(url);
        } else if (IsNumber(text)) {
            Check(s, worksheet_write_number(sheet, s->row, (lxw_col_t)c, strtod(text, NULL), f));
        } else if (*text) {
            Check(s, worksheet_write_string(sheet, s->row, (lxw_col_t)c, text, f));
        } else {
            Check(s, worksheet_write_blank(sheet, s->row, (lxw_col_t)c, f));
        }
    }
}

static void EndField(void* text, size_t length, void* data) {
    struct Sheet* s = data;
    if (s->count < kColumns) {
        s->fields[s->count] = strndup(text ? text : "", length);
    }
    ++s->count;
}

static void EndRecord(int terminator, void* data) {
    struct Sheet* s = data;
    (void)terminator;
    WriteRecord(s);
    for (size_t c = 0; c < s->count && c < kColumns; ++c) {
        free(s->fields[c]);
    }
    s->count = 0;
    ++s->row;
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "uso: %s FILAS.csv LIBRO.xlsx DIRECCIÓN_BASE\n", argv[0]);
        return 1;
    }
    FILE* in = fopen(argv[1], "rb");
    if (!in) {
        perror(argv[1]);
        return 1;
    }
    lxw_workbook_options options = {.constant_memory = LXW_TRUE, .tmpdir = NULL};
    struct Sheet s = {0};
    s.base = argv[3];
    s.book = workbook_new_opt(argv[2], &options);
    s.sheet = s.book ? workbook_add_worksheet(s.book, "Hoja1") : NULL;
    if (!s.sheet) {
        fprintf(stderr, "%s: no se pudo crear el libro\n", argv[2]);
        return 1;
    }
    lxw_format* sheetFont = NewFormat(s.book, 0);
    s.header = NewFormat(s.book, 1);
    format_set_bold(s.header);
    format_set_font_color(s.header, 0xFFFFFF);
    format_set_pattern(s.header, LXW_PATTERN_SOLID);
    format_set_bg_color(s.header, 0x993300);
    format_set_align(s.header, LXW_ALIGN_CENTER);
    format_set_align(s.header, LXW_ALIGN_VERTICAL_CENTER);
    s.data = NewFormat(s.book, 1);
    format_set_align(s.data, LXW_ALIGN_LEFT);
    format_set_align(s.data, LXW_ALIGN_VERTICAL_TOP);
    format_set_text_wrap(s.data);
    s.justified = NewFormat(s.book, 1);
    format_set_align(s.justified, LXW_ALIGN_JUSTIFY);
    format_set_align(s.justified, LXW_ALIGN_VERTICAL_TOP);
    format_set_text_wrap(s.justified);
    s.link = NewFormat(s.book, 1);
    format_set_align(s.link, LXW_ALIGN_LEFT);
    format_set_align(s.link, LXW_ALIGN_VERTICAL_TOP);
    format_set_text_wrap(s.link);
    format_set_font_color(s.link, 0x0563C1);
    format_set_underline(s.link, LXW_UNDERLINE_SINGLE);
    for (lxw_col_t c = 0; c < kColumns; ++c) {
        worksheet_set_column(s.sheet, c, c, kWidths[c],
                             c == kSummaryColumn ? s.justified : sheetFont);
    }
    worksheet_set_column(s.sheet, kColumns, LXW_COL_MAX - 1, LXW_DEF_COL_WIDTH, sheetFont);

    struct csv_parser parser;
    csv_init(&parser, CSV_APPEND_NULL);
    char buffer[1 << 16];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, in)) > 0) {
        if (csv_parse(&parser, buffer, got, EndField, EndRecord, &s) != got) {
            fprintf(stderr, "%s: %s\n", argv[1], csv_strerror(csv_error(&parser)));
            return 1;
        }
    }
    csv_fini(&parser, EndField, EndRecord, &s);
    csv_free(&parser);
    fclose(in);

    worksheet_freeze_panes(s.sheet, 1, 0);
    worksheet_set_selection(s.sheet, 1, 0, 1, 0);
    lxw_error closed = workbook_close(s.book);
    if (closed != LXW_NO_ERROR) {
        fprintf(stderr, "%s: %s\n", argv[2], lxw_strerror(closed));
        return 1;
    }
    return s.failed;
}
