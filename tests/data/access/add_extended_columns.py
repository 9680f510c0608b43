#!/usr/bin/env python3
"""Writes the Access test files made from real ones: extendedDateTest.accdb from
calcFieldTestV2010.accdb (ACE), and textAndIdTestV1997.mdb from testV1997.mdb (Jet 3, told by
the file's version byte).

extendedDateTest.accdb: calcFieldTestV2010.accdb with two columns added to Table1.

  Momento  Date/Time Extended (type 0x14): 42 bytes of ASCII, as Access 2019 and later keep it:
           19 digits of days since 0001-01-01, ":", 12 digits of seconds since midnight,
           7 digits of ten-millionths of a second, then ":7" and a NUL.
  Futuro   a type no Access has defined yet (0x15), 8 bytes: what a later Access might add.

Access does not rewrite a table when it gains a column; this tool does what Access does when
it writes every row afresh: each row gets the two values in its fixed part (after the existing
fixed columns), its variable part moves up, and its null mask gains the two columns' bits.
The table definition gets the two column entries and names; the data page is repacked.
In the row with ID 3 the calculated values of LastFirstLen (a long integer), IsRich (yes/no),
WeeklySalary (a double) and DecimalTest (a decimal) are stored as Access stores a value it did
not compute: 23 zero bytes, the 16-byte header, a length of 0 and 3 bytes of padding.

textAndIdTestV1997.mdb: testV1997.mdb (Access 97, code page 1252) with three rows written into
its empty Table4 (`name` Text(50), `data` Replication ID), on a data page added at the file's
end and marked in the table's usage map, each row laid out as Jet 3 lays it out (ROWS_1997).

Usage: add_extended_columns.py SOURCE OUTPUT
"""
import datetime
import struct
import sys

PAGE = 4096
TABLE_COLUMN = "FirstName"  # a column of the table that receives the new ones

# The new columns' values per row, by the row's ID; None stores NULL.
MOMENTO = {
    1: datetime.datetime(2021, 12, 2, 18, 30, 15),
    2: datetime.datetime(1, 1, 1, 0, 0, 0),
    3: None,
    4: datetime.datetime(9999, 12, 31, 23, 59, 59),
}
MOMENTO_TICKS = {1: 1234567, 2: 0, 4: 9999999}  # ten-millionths of a second
FUTURO = {1: b"\x01" * 8, 2: None, 3: b"\x02" * 8, 4: b"\x03" * 8}
# Calculated columns whose value the row with ID 3 holds uncomputed.
UNCOMPUTED = ("LastFirstLen", "IsRich", "WeeklySalary", "DecimalTest")
UNCOMPUTED_ROW = 3
UNCOMPUTED_VALUE = bytes(23)

# Table4's rows in testV1997.mdb: the name in code page 1252 (the five bytes it leaves
# undefined, then defined letters above 0x7F), the replication ID as text (None stores NULL).
ROWS_1997 = [
    (b"a\x81\x8d\x8f\x90\x9dz", "{8E39276A-BCA8-4AC4-891E-49911D8438DD}"),
    (b"Pe\xf1a \x80 \x8c\x9c \xff", "{00112233-4455-6677-8899-AABBCCDDEEFF}"),
    (b"sin identificador", None),
]
PAGE_1997 = 2048

EXTENDED_DATE_TIME = 0x14
UNKNOWN_TYPE = 0x15


def extended_date_time(moment, ticks):
    days = moment.date().toordinal() - 1
    seconds = moment.hour * 3600 + moment.minute * 60 + moment.second
    text = "%019d:%012d%07d:7" % (days, seconds, ticks)
    value = text.encode("ascii") + b"\x00"
    assert len(value) == 42
    return value


def find_pages(data):
    name = TABLE_COLUMN.encode("utf-16-le")
    tdef = [p for p in range(len(data) // PAGE)
            if data[p * PAGE] == 0x02 and name in data[p * PAGE:(p + 1) * PAGE]]
    assert len(tdef) == 1, tdef
    rows = [p for p in range(len(data) // PAGE)
            if data[p * PAGE] == 0x01
            and struct.unpack_from("<I", data, p * PAGE + 4)[0] == tdef[0]]
    return tdef[0], rows


def column_entry(kind, number, fixed_offset, length):
    # type, table id, number, variable index, index, misc, misc_ext, flags (fixed, updatable),
    # extra flags, unknown, fixed offset, length
    return struct.pack("<BIHHHHHBBIHH", kind, 0x659, number, 0, number, 0, 0, 0x03, 0, 0,
                       fixed_offset, length)


def column_name(name):
    encoded = name.encode("utf-16-le")
    return struct.pack("<H", len(encoded)) + encoded


def column_names(page):
    """The names of a Jet 4 table definition's columns, in the order of their entries."""
    num_cols = struct.unpack_from("<H", page, 45)[0]
    real_indexes = struct.unpack_from("<I", page, 51)[0]
    at = 63 + 12 * real_indexes + 25 * num_cols
    names = []
    for _ in range(num_cols):
        length = struct.unpack_from("<H", page, at)[0]
        names.append(page[at + 2:at + 2 + length].decode("utf-16-le"))
        at += 2 + length
    return names


def variable_index(page, name):
    entries = 63 + 12 * struct.unpack_from("<I", page, 51)[0]
    number = column_names(page).index(name)
    return struct.unpack_from("<H", page, entries + 25 * number + 7)[0]


def with_variable_values(row, num_cols, values):
    """The Jet 4 row with the variable columns numbered in `values` holding those bytes."""
    mask_size = (num_cols + 7) // 8
    var_count = struct.unpack_from("<H", row, len(row) - mask_size - 2)[0]
    table_at = len(row) - mask_size - 2 - 2 * (var_count + 1)
    # Kept last column first: the end of the data, then each column's start.
    offsets = struct.unpack_from("<%dH" % (var_count + 1), row, table_at)
    starts = list(reversed(offsets))
    pieces = [values.get(k, row[starts[k]:starts[k + 1]]) for k in range(var_count)]
    body = row[:starts[0]]
    new_starts = []
    for piece in pieces:
        new_starts.append(len(body))
        body += piece
    new_starts.append(len(body))
    return (body + struct.pack("<%dH" % (var_count + 1), *reversed(new_starts)) +
            row[len(row) - mask_size - 2:])


def extend_definition(page, fixed_size):
    page = bytearray(page)
    tdef_len = struct.unpack_from("<I", page, 8)[0]
    max_cols, var_cols, num_cols = struct.unpack_from("<HHH", page, 41)
    assert max_cols == num_cols
    real_indexes = struct.unpack_from("<I", page, 51)[0]
    entries_end = 63 + 12 * real_indexes + 25 * num_cols
    names_end = entries_end
    for _ in range(num_cols):
        names_end += 2 + struct.unpack_from("<H", page, names_end)[0]
    entries = (column_entry(EXTENDED_DATE_TIME, num_cols, fixed_size, 42) +
               column_entry(UNKNOWN_TYPE, num_cols + 1, fixed_size + 42, 8))
    names = column_name("Momento") + column_name("Futuro")
    body = (page[:entries_end] + entries + page[entries_end:names_end] + names +
            page[names_end:8 + tdef_len])
    grown = len(entries) + len(names)
    struct.pack_into("<I", body, 8, tdef_len + grown)
    struct.pack_into("<HHH", body, 41, num_cols + 2, var_cols, num_cols + 2)
    struct.pack_into("<H", body, 2, struct.unpack_from("<H", page, 2)[0] - grown)
    return bytes(body + bytes(PAGE - len(body))), num_cols


def extend_row(row, num_cols, fixed_size):
    assert struct.unpack_from("<H", row, 0)[0] == num_cols
    mask_size = (num_cols + 7) // 8
    var_count = struct.unpack_from("<H", row, len(row) - mask_size - 2)[0]
    table_at = len(row) - mask_size - 2 - 2 * (var_count + 1)
    offsets = list(struct.unpack_from("<%dH" % (var_count + 1), row, table_at))
    mask = bytearray(row[len(row) - mask_size:])
    identifier = struct.unpack_from("<i", row, 2)[0]

    added = b""
    new_mask_size = (num_cols + 2 + 7) // 8
    mask += bytes(new_mask_size - mask_size)
    for number, value in ((num_cols, momento_bytes(identifier)),
                          (num_cols + 1, FUTURO[identifier])):
        if value is None:
            mask[number // 8] &= ~(1 << number % 8) & 0xFF
            value = bytes(42 if number == num_cols else 8)
        else:
            mask[number // 8] |= 1 << number % 8
        added += value
    end_of_data = offsets[0]
    fixed_end = 2 + fixed_size
    body = (struct.pack("<H", num_cols + 2) + row[2:fixed_end] + added +
            row[fixed_end:end_of_data])
    shifted = [offset + len(added) for offset in offsets]
    return (body + struct.pack("<%dH" % len(shifted), *shifted) +
            struct.pack("<H", var_count) + bytes(mask))


def momento_bytes(identifier):
    moment = MOMENTO[identifier]
    return None if moment is None else extended_date_time(moment, MOMENTO_TICKS[identifier])


def repack(page, num_cols, fixed_size, uncomputed):
    count = struct.unpack_from("<H", page, 12)[0]
    starts = struct.unpack_from("<%dH" % count, page, 14)
    assert all(start & 0xC000 == 0 for start in starts), "deleted or moved rows"
    ends = (PAGE,) + starts[:-1]
    rows = [extend_row(page[s:e], num_cols, fixed_size) for s, e in zip(starts, ends)]
    for index, row in enumerate(rows):
        if struct.unpack_from("<i", row, 2)[0] == UNCOMPUTED_ROW:
            values = {k: UNCOMPUTED_VALUE for k in uncomputed}
            rows[index] = with_variable_values(row, num_cols + 2, values)
    out = bytearray(page[:14 + 2 * count])
    out += bytes(PAGE - len(out))
    at = PAGE
    for index, row in enumerate(rows):
        at -= len(row)
        assert at >= 14 + 2 * count
        out[at:at + len(row)] = row
        struct.pack_into("<H", out, 14 + 2 * index, at)
    struct.pack_into("<H", out, 2, at - (14 + 2 * count))
    return bytes(out)


def guid_bytes(text):
    """A replication ID as Access stores it: the first three groups little-endian."""
    digits = bytes.fromhex(text.strip("{}").replace("-", ""))
    return digits[3::-1] + digits[5:3:-1] + digits[7:5:-1] + digits[8:]


def row_1997(name, guid):
    """A Table4 row as Jet 3 lays it out: the column count (1 byte), the replication ID (the one
    fixed column, 16 bytes, zeros when NULL), the name, the end of the data, the name's start,
    the count of variable columns, and the null mask (a set bit is a value)."""
    fixed = guid_bytes(guid) if guid else bytes(16)
    body = b"\x02" + fixed + name
    assert len(body) < 255
    mask = 0x01 | (0x02 if guid else 0)
    return body + bytes([len(body), 1 + len(fixed), 1, mask])


def add_rows_1997(data):
    """Writes ROWS_1997 into Table4 on a new data page at the file's end."""
    page = PAGE_1997
    marker = b"\x04name\x04data"
    tdef = [p for p in range(len(data) // page)
            if data[p * page] == 0x02 and marker in data[p * page:(p + 1) * page]]
    assert len(tdef) == 1, tdef
    tdef = tdef[0]
    definition = tdef * page
    assert struct.unpack_from("<I", data, definition + 12)[0] == 0, "Table4 has rows"
    struct.pack_into("<I", data, definition + 12, len(ROWS_1997))
    # The usage map: a row of another page, kind 0 (a bitmap from a first page).
    used = struct.unpack_from("<I", data, definition + 35)[0]
    map_page, map_row = used >> 8, used & 0xFF
    map_at = map_page * page + struct.unpack_from("<H", data, map_page * page + 10 + 2 * map_row)[0]
    assert data[map_at] == 0 and struct.unpack_from("<I", data, map_at + 1)[0] == 0
    new_page = len(data) // page
    data[map_at + 5 + new_page // 8] |= 1 << (new_page % 8)
    # The data page: kind 1, free space, the table definition's page, the row count and
    # the rows' starts, the rows from the page's end down.
    out = bytearray(page)
    out[0:2] = b"\x01\x01"
    struct.pack_into("<I", out, 4, tdef)
    struct.pack_into("<H", out, 8, len(ROWS_1997))
    at = page
    for index, (name, guid) in enumerate(ROWS_1997):
        row = row_1997(name, guid)
        at -= len(row)
        out[at:at + len(row)] = row
        struct.pack_into("<H", out, 10 + 2 * index, at)
    struct.pack_into("<H", out, 2, at - (10 + 2 * len(ROWS_1997)))
    data += out


def main():
    source, output = sys.argv[1:3]
    data = bytearray(open(source, "rb").read())
    if data[0x14] == 0:  # Jet 3
        add_rows_1997(data)
    else:
        tdef, data_pages = find_pages(data)
        fixed_size = 12  # ID (long integer) and Salary (currency)
        definition = bytes(data[tdef * PAGE:(tdef + 1) * PAGE])
        uncomputed = [variable_index(definition, name) for name in UNCOMPUTED]
        page, num_cols = extend_definition(definition, fixed_size)
        data[tdef * PAGE:(tdef + 1) * PAGE] = page
        for number in data_pages:
            data[number * PAGE:(number + 1) * PAGE] = repack(
                bytes(data[number * PAGE:(number + 1) * PAGE]), num_cols, fixed_size, uncomputed)
    with open(output + ".parcial", "wb") as out:
        out.write(data)
    import os
    os.replace(output + ".parcial", output)


if __name__ == "__main__":
    main()
