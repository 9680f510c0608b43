#include "AccessPageReader.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "AccessFieldReader.h"
#include "AccessLongValue.h"
#include "AccessProperties.h"
#include "ImportDatabaseWriter.h"
#include "ImportFailures.h"

namespace ponencias {

namespace {

// A row's place on its page carries two flags. A row that grew too big for its page is moved:
// its old place keeps a pointer (0x4000) and the row itself, on another page, is flagged as
// skipped by a scan (0x8000), as a deleted row is, so that each row is read once, where its
// pointer stands. (libmdb 1.0 reads the two flags the other way round; on the files tried that
// comes to the same rows in another order.)
constexpr int kSkippedRow = 0x8000;
constexpr int kMovedRow = 0x4000;
constexpr int kMaxMoves = 4;
// A row's column count and null mask take two bytes at least.
constexpr size_t kSmallestRow = 2;
// Unreadable values named one by one in the notes, per column; the rest are counted.
constexpr int kValuesNamed = 10;

struct TableDefinition {
    MdbTableDef* table;
    ~TableDefinition() { mdb_free_tabledef(table); }
};

}  // namespace

AccessPageReader::AccessPageReader(const QByteArray& bytes, QString requiredTable)
    : bytes_(bytes), requiredTable_(std::move(requiredTable)) {
    // Text must come out as UTF-8 and Jet 3 text in the file's own code page, whatever the
    // environment says.
    unsetenv("MDBICONV");
    unsetenv("MDB_ICONV");
    unsetenv("MDB_JET3_CHARSET");
    mdb_ =
        mdb_open_buffer(const_cast<char*>(bytes_.constData()), size_t(bytes_.size()), MDB_NOFLAGS);
    if (mdb_ == nullptr) {
        throw ImportFailure("la cabecera de Access no es válida");
    }
    pageSize_ = size_t(mdb_->fmt->pg_size);
}

AccessPageReader::~AccessPageReader() {
    if (mdb_ != nullptr) {
        mdb_close(mdb_);
    }
}

bool AccessPageReader::IsRequired(const QString& tableName) const {
    return tableName.compare(requiredTable_, Qt::CaseInsensitive) == 0;
}

QByteArray AccessPageReader::Read() {
    CheckCatalogProperties();
    // Every Access file lists at least its own system tables in the catalog.
    if (mdb_read_catalog(mdb_, MDB_ANY) == nullptr || mdb_->num_catalog == 0) {
        throw ImportFailure("no se pudo leer el catálogo de objetos");
    }
    ImportDatabaseWriter writer;
    // The text read may come to four times the file and 64 MiB more, no further.
    AccessFieldReader fields(mdb_, size_t(bytes_.size()) / pageSize_,
                             size_t(bytes_.size()) * 4 + (64u << 20), writer, notes_);
    for (unsigned i = 0; i < mdb_->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb_->catalog, i));
        if (entry->object_type != MDB_TABLE || !mdb_is_user_table(entry)) {
            continue;
        }
        const QString tableName = QString::fromUtf8(entry->object_name);
        try {
            ReadTable(entry, tableName, writer, fields);
        } catch (const TableFailure& failure) {
            writer.AbandonTable();
            // Only the table the store needs must be read whole; any other is left out.
            if (IsRequired(tableName)) {
                throw ImportFailure("la tabla " + tableName.toStdString() +
                                    " no se puede leer entera (" + failure.what() + ")");
            }
            notes_ << QStringLiteral("La tabla «%1» no se pudo leer y se omite (%2).")
                          .arg(tableName, QString::fromUtf8(failure.what()));
        }
    }
    return writer.Finish();
}

void AccessPageReader::ReadTable(MdbCatalogEntry* entry, const QString& tableName,
                                 ImportDatabaseWriter& writer, AccessFieldReader& fields) {
    MdbTableDef* table = mdb_read_table(entry);
    if (table == nullptr) {
        throw TableFailure("no se pudo leer su definición");
    }
    const TableDefinition owned{table};
    if (mdb_read_columns(table) == nullptr || table->num_cols == 0 ||
        table->num_cols > MDB_MAX_COLS) {
        throw TableFailure("no se pudieron leer sus columnas");
    }
    CheckPagesWithinFile(table, tableName);
    std::vector<AccessColumn> columns = Columns(table, tableName);
    QStringList names;
    QStringList types;
    for (const AccessColumn& column : columns) {
        names << column.name;
        types << column.Affinity();
    }
    writer.BeginTable(tableName, names, types);
    ReadRows(table, columns, tableName, writer, fields);
    writer.EndTable();
    for (const AccessColumn& column : columns) {
        if (column.unreadable > kValuesNamed) {
            notes_ << QStringLiteral("Otros %1 valores de la columna «%2» de la tabla «%3» no se "
                                     "pudieron leer y quedan vacíos.")
                          .arg(column.unreadable - kValuesNamed)
                          .arg(column.name, tableName);
        }
    }
}

std::vector<AccessColumn> AccessPageReader::Columns(MdbTableDef* table, const QString& tableName) {
    std::vector<AccessColumn> columns;
    for (unsigned c = 0; c < table->num_cols; ++c) {
        columns.push_back(
            AccessColumn::Of(static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c))));
        // The required table's values are what the user searches: a column of a kind the
        // import does not know would read empty and answer searches wrongly, so the table is
        // refused instead. (OLE, binary and attachment columns hold nothing to search.)
        if (IsRequired(tableName) && columns.back().KindUnknown()) {
            throw TableFailure("la columna «" + columns.back().name.toStdString() +
                               "» es de un tipo desconocido, el número " +
                               std::to_string(columns.back().kind));
        }
    }
    return columns;
}

// The table definition's row count is not kept exact by Access: every row the data pages hold
// is read, page by page, and a row that cannot be read is damage (libmdb's own row loop would
// pass over it in silence). A file cut short is told by its pages, before the rows are read.
void AccessPageReader::ReadRows(MdbTableDef* table, std::vector<AccessColumn>& columns,
                                const QString& tableName, ImportDatabaseWriter& writer,
                                AccessFieldReader& fields) {
    fields_.assign(table->num_cols, MdbField{});
    long number = 0;
    WalkRows(table, [&](int start, size_t size) {
        ReadRow(table, start, size, ++number, columns, tableName, writer, fields);
    });
}

// Calls `row` with the place and size of every row of `table`, in the order of its pages, with
// the row's page current.
void AccessPageReader::WalkRows(MdbTableDef* table,
                                const std::function<void(int start, size_t size)>& row) {
    // libmdb walks the usage map without looking whether it has one: a map's kind and its
    // first page (or first map page) take five bytes.
    if (table->usage_map == nullptr || table->map_sz < 5) {
        throw TableFailure("no se pudo leer su mapa de páginas");
    }
    mdb_rewind_table(table);
    const int countAt = mdb_->fmt->row_count_offset;
    const int maxRows = int(pageSize_ - size_t(countAt) - 2) / 2;
    while (mdb_read_next_dpg(table) != 0) {
        const guint32 page = table->cur_phys_pg;
        const int rows = mdb_get_int16(mdb_->pg_buf, countAt);
        if (rows < 0 || rows > maxRows) {
            throw TableFailure("una página de datos no es válida");
        }
        for (int number = 0; number < rows; ++number) {
            int start = 0;
            size_t size = 0;
            if (mdb_find_row(mdb_, number, &start, &size) != 0) {
                throw TableFailure("una fila está fuera de su página");
            }
            if ((start & kSkippedRow) != 0) {
                continue;
            }
            CheckRowWithinPage(start, size);
            if ((start & kMovedRow) == 0) {
                row(start & 0x1fff, size);
                continue;
            }
            start = FollowMovedRow(start, size);
            row(start & 0x1fff, size);
            if (mdb_read_pg(mdb_, page) != ssize_t(pageSize_)) {
                throw TableFailure("una página de datos no se puede releer");
            }
        }
    }
}

// libmdb takes a row's size as the distance to the previous row's start and cracks the row
// without looking: on a damaged page an empty row, or one over the page's header, sends it
// reading far outside the page.
void AccessPageReader::CheckRowWithinPage(int start, size_t size) const {
    const size_t header = size_t(mdb_->fmt->row_count_offset) + 2;
    if (size < kSmallestRow || size_t(start & 0x1fff) < header ||
        size_t(start & 0x1fff) + size > pageSize_) {
        throw TableFailure("una fila sale de los límites de su página");
    }
}

// A moved row's place keeps where to (perhaps after more than one move): the page in the upper
// 24 bits, the row in the lowest 8. Leaves the row's page current and gives its place.
int AccessPageReader::FollowMovedRow(int start, size_t& size) {
    for (int moves = 0; (start & kMovedRow) != 0; ++moves) {
        if (size < 4 || moves == kMaxMoves) {
            throw TableFailure("una fila trasladada no dice adónde");
        }
        const guint32 target = guint32(mdb_get_int32(mdb_->pg_buf, start & 0x1fff));
        if (mdb_read_pg(mdb_, target >> 8) != ssize_t(pageSize_) ||
            mdb_->pg_buf[0] != MDB_PAGE_DATA ||
            mdb_find_row(mdb_, int(target & 0xff), &start, &size) != 0) {
            throw TableFailure("una fila trasladada está fuera de su página");
        }
        CheckRowWithinPage(start, size);
    }
    return start;
}

// A value that cannot be read costs only itself: it reads NULL, with a note naming its table,
// column and row (the row's number in the order of the table's pages, from 1), unless the
// table must be read whole.
void AccessPageReader::ReadRow(MdbTableDef* table, int start, size_t size, long number,
                               std::vector<AccessColumn>& columns, const QString& tableName,
                               ImportDatabaseWriter& writer, AccessFieldReader& fields) {
    const int count = mdb_crack_row(table, start, size, fields_.data());
    if (count < 0) {
        throw TableFailure("una fila no se puede descifrar");
    }
    for (int f = 0; f < count && f < int(table->num_cols); ++f) {
        const MdbField& field = fields_[size_t(f)];
        if (field.colnum < 0 || field.colnum >= int(columns.size())) {
            throw TableFailure("una fila nombra una columna inexistente");
        }
        AccessColumn& column = columns[size_t(field.colnum)];
        try {
            fields.Read(field.colnum + 1, column, tableName, field);
        } catch (const ValueFailure& failure) {
            if (IsRequired(tableName)) {
                throw TableFailure("la columna «" + column.name.toStdString() + "», fila " +
                                   std::to_string(number) + ": " + failure.what());
            }
            writer.BindNull(field.colnum + 1);
            if (++column.unreadable <= kValuesNamed) {
                notes_ << QStringLiteral("El valor de la columna «%1» de la tabla «%2» en la fila "
                                         "%3 no se pudo leer y queda vacío (%4).")
                              .arg(column.name, tableName)
                              .arg(number)
                              .arg(QString::fromUtf8(failure.what()));
            }
        }
    }
    writer.EndRow();
}

// libmdb reads every object's properties (MSysObjects.LvProp) while it reads the catalog, and
// trusts every length in them: one damaged record can send it round for ever, building ever
// more. So they are read first, the way libmdb will, and a catalog it could not walk is refused.
void AccessPageReader::CheckCatalogProperties() {
    MdbCatalogEntry objects{};
    objects.mdb = mdb_;
    objects.object_type = MDB_TABLE;
    objects.table_pg = 2;
    std::strcpy(objects.object_name, "MSysObjects");
    MdbTableDef* table = mdb_read_table(&objects);
    if (table == nullptr) {
        return;  // the catalog's own reading fails
    }
    const TableDefinition owned{table};
    if (mdb_read_columns(table) == nullptr || table->num_cols == 0 ||
        table->num_cols > MDB_MAX_COLS) {
        return;
    }
    int properties = -1;
    for (unsigned c = 0; c < table->num_cols; ++c) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
        if (g_ascii_strcasecmp(column->name, "LvProp") == 0) {
            properties = int(c);
        }
    }
    if (properties < 0) {
        return;
    }
    const size_t filePages = size_t(bytes_.size()) / pageSize_;
    fields_.assign(table->num_cols, MdbField{});
    try {
        WalkRows(table, [&](int start, size_t size) {
            const int count = mdb_crack_row(table, start, size, fields_.data());
            for (int f = 0; f < count && f < int(table->num_cols); ++f) {
                const MdbField& field = fields_[size_t(f)];
                if (field.colnum != properties || field.is_null || field.siz <= 0) {
                    continue;
                }
                if (field.start < 0 || size_t(field.start) + size_t(field.siz) > pageSize_) {
                    throw ValueFailure("un valor sale de los límites de su página");
                }
                const std::vector<unsigned char> value =
                    ReadLongValue(mdb_, mdb_->pg_buf + field.start, size_t(field.siz), filePages,
                                  LongValueExtent::Stored);
                if (!PropertiesReadable(value.data(), value.size())) {
                    throw ValueFailure("las propiedades de un objeto están dañadas");
                }
            }
        });
    } catch (const std::runtime_error& failure) {
        throw ImportFailure(std::string("el catálogo de objetos está dañado (") + failure.what() +
                            ")");
    }
}

// A page the table's usage map names beyond the file's end means the file was cut short: the
// rows on it are lost, so the file is refused whatever table they belong to.
void AccessPageReader::CheckPagesWithinFile(MdbTableDef* table, const QString& tableName) {
    if (table->usage_map == nullptr || table->map_sz == 0) {
        return;
    }
    const guint32 pages = guint32(size_t(bytes_.size()) / pageSize_);
    gint32 page = 0;
    for (guint32 seen = 0; seen <= pages; ++seen) {
        const gint32 next =
            mdb_map_find_next(mdb_, table->usage_map, unsigned(table->map_sz), guint32(page));
        if (next <= page) {
            return;  // the map's end, or a kind of map libmdb walks page by page
        }
        if (guint32(next) >= pages) {
            throw ImportFailure("la tabla " + tableName.toStdString() + " ocupa la página " +
                                std::to_string(next) +
                                ", más allá del final del archivo; el archivo está cortado");
        }
        page = next;
    }
}

}  // namespace ponencias
