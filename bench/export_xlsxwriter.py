#!/usr/bin/python3
"""The result workbook written with python3-xlsxwriter, for the side-by-side figure of
bench_export, and the large proposal store that bench_export exports.

The workbook is the script a user of XlsxWriter would write for the same formatted sheet from
the same SQLite store and query: the same cells, formats, column widths, row heights, links and
frozen pane, in constant-memory mode. Columns past the sixteenth hold no cell and are left alone
(giving them the sheet's font costs XlsxWriter seconds and changes no cell).

    export_xlsxwriter.py workbook STORE.sqlite QUERY OUT.xlsx BASE_ADDRESS
    export_xlsxwriter.py store SAMPLE.sqlite OUT.sqlite COUNT    COUNT proposals cycled from the
                                                                 sample's rows
"""
import re
import sqlite3
import sys
import urllib.parse

import xlsxwriter

UNLINKED = {302, 818, 824, 825, 826, 925, 1152, 1180, 1417, 1464, 1485, 1507, 1742, 1754, 1755,
            1756, 1758, 1759, 1760, 1761, 1762, 1763, 1764, 1765, 1767, 1769, 2904, 3167, 3168,
            3169, 3170, 3171, 3337, 3418}
NUMBER = re.compile(r"[1-9][0-9]{0,14}")
COLUMNS = ["FOLIO", "ID", "ESTADO", "EDAD", "SEXO", "PERFIL_PONENTE", "NUM_JORNADA",
           "EJE_TEMATICO", "SUBTEMA", "CATEGORIA_SUBTEMA", "TITULO", "RESUMEN",
           "NORMATIVIDAD_MODIFICAR_1", "NORMATIVIDAD_MODIFICAR_2", "NORMATIVIDAD_MODIFICAR_3",
           "NORMATIVIDAD_MODIFICAR_4"]


def unlinked(folio):
    try:
        return float(folio.strip()) in UNLINKED
    except ValueError:
        return False


CAPTIONS = ["FOLIO", "ID", "ESTADO / PAÍS", "EDAD", "SEXO", "PERFIL DEL PONENTE", "JORNADA",
            "EJE TEMÁTICO", "SUBTEMA", "CATEGORÍA POR SUBTEMA", "TÍTULO", "RESUMEN",
            "NORMATIVIDAD A MODIFICAR 1", "NORMATIVIDAD A MODIFICAR 2",
            "NORMATIVIDAD A MODIFICAR 3", "NORMATIVIDAD A MODIFICAR 4"]


def workbook(store_path, query, out, base):
    db = sqlite3.connect("file:%s?mode=ro" % urllib.parse.quote(store_path), uri=True)
    rows = db.execute(query)
    book = xlsxwriter.Workbook(out, {"constant_memory": True, "strings_to_numbers": False,
                                     "strings_to_formulas": False, "strings_to_urls": False})
    sheet = book.add_worksheet("Hoja1")
    font = {"font_name": "Arial Narrow", "font_size": 11}
    header = book.add_format(dict(font, bold=True, font_color="#FFFFFF", bg_color="#993300",
                                  border=1, align="center", valign="vcenter"))
    header_l = header
    data = book.add_format(dict(font, border=1, align="left", valign="top", text_wrap=True))
    data_l = book.add_format(dict(font, border=1, align="justify", valign="top", text_wrap=True))
    link = book.add_format(dict(font, border=1, align="left", valign="top", text_wrap=True,
                                font_color="#0563C1", underline=1))
    sheet_font = book.add_format(font)
    # A, D, J and M to P as the export fits them to their captions, the others fixed.
    fitted = {0: 39 / 7, 3: 37 / 7, 9: 166 / 7, 12: 188 / 7, 13: 188 / 7, 14: 188 / 7, 15: 188 / 7}
    widths = {**fitted, 10: 70, 11: 80, 1: 16, 2: 25, 4: 12, 5: 20, 6: 30, 7: 50, 8: 35}
    for column, width in widths.items():
        sheet.set_column(column, column, width, data_l if column == 11 else sheet_font)
    sheet.set_row(0, 55)
    for c, caption in enumerate(CAPTIONS):
        sheet.write_string(0, c, caption, header_l if c == 11 else header)
    for r, row in enumerate(rows, start=1):
        sheet.set_row(r, 150, data)
        row = ["" if value is None else str(value) for value in row]
        for c, text in enumerate(row):
            fmt = data_l if c == 11 else data
            if c == 10 and not unlinked(row[0]):
                sheet.write_url(r, c, base + urllib.parse.quote(row[0], safe="") + ".doc",
                                link, text)
            elif NUMBER.fullmatch(text):
                sheet.write_number(r, c, int(text), fmt)
            elif text:
                sheet.write_string(r, c, text, fmt)
            else:
                sheet.write_blank(r, c, None, fmt)
    sheet.freeze_panes(1, 0)
    sheet.set_selection("A2")
    book.close()
    db.close()


def store(sample, out, count):
    source = sqlite3.connect("file:%s?mode=ro" % urllib.parse.quote(sample), uri=True)
    rows = source.execute("SELECT %s FROM PONENCIAS" % ", ".join(COLUMNS)).fetchall()
    source.close()
    db = sqlite3.connect(out)
    db.execute("CREATE TABLE PONENCIAS (%s, NORMATIVIDAD_MODIFICAR_5 TEXT)" %
               ", ".join(c + " TEXT" for c in COLUMNS))
    marks = ", ".join("?" * (len(COLUMNS) + 1))
    db.executemany("INSERT INTO PONENCIAS VALUES (%s)" % marks,
                   ([str(n + 1)] + list(rows[n % len(rows)][1:]) + [""] for n in range(count)))
    db.commit()
    db.close()


if __name__ == "__main__":
    if sys.argv[1] == "workbook":
        workbook(sys.argv[2], sys.argv[3], sys.argv[4], sys.argv[5])
    else:
        store(sys.argv[2], sys.argv[3], int(sys.argv[4]))
