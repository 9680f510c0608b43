// The typology of the variables: every column of PONENCIAS with its meaning, its type and the
// values it takes, counted in the store the document is delivered with.

#include <QStringList>
#include <vector>

#include "ColumnDescriptions.h"
#include "Documents.h"
#include "TypologyFormatting.h"
#include "TypologyStatistics.h"
#include "TypologyValueSections.h"
#include "export/ResultSheetLayout.h"
#include "store/ProposalTable.h"

namespace ponencias::documents {

namespace {

// The stored type a table declares, in the reader's words, by SQLite's rules for what a
// declared type means.
QString StoredType(const QString& declared) {
    const QString type = declared.toUpper();
    const auto has = [&](const char* part) { return type.contains(QLatin1String(part)); };
    if (has("INT")) {
        return QStringLiteral("Número entero");
    }
    if (has("CHAR") || has("CLOB") || has("TEXT")) {
        return QStringLiteral("Texto");
    }
    if (has("BLOB")) {
        return QStringLiteral("Datos binarios");
    }
    if (has("REAL") || has("FLOA") || has("DOUB")) {
        return QStringLiteral("Número con decimales");
    }
    // No type, or NUMERIC: each value as it came, numbers as numbers.
    return QStringLiteral("Número o texto, según el valor");
}

// One column of the document: the program's name for it, what the data file says of it and
// what no data file can say.
struct DescribedColumn {
    QString name;
    const char* caption;  // in the result sheet, or nullptr
    const ColumnDescription* description;
    QString storedType;
    ColumnPresence presence;

    bool storedAsText() const { return storedType == QLatin1String("Texto"); }
    QString kind() const {
        return QString::fromUtf8(description->kind) +
               (storedAsText() && description->storedAsTextNote
                    ? QString::fromUtf8(description->storedAsTextNote)
                    : QString());
    }
};

class TypologyDocument {
public:
    explicit TypologyDocument(const StoreSnapshot& snapshot) : statistics_(snapshot) {}

    QString compose() {
        total_ = statistics_.proposals();
        readColumns();
        introduction();
        overview();
        TypologyValueSections values(statistics_, total_);
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            column(i);
            html_ += values.section(columns_[i].name);
        }
        return html_;
    }

private:
    void readColumns() {
        const std::vector<std::pair<QString, QString>> stored = statistics_.tableColumns();
        tableColumns_ = int(stored.size());
        QStringList names;
        for (const char* column : kProposalColumns) {
            names << QString::fromLatin1(column);
        }
        const std::vector<ColumnPresence> presence = statistics_.presence(names);
        for (std::size_t i = 0; i < kProposalColumns.size(); ++i) {
            const char* column = kProposalColumns[i];
            QString declared;
            for (const auto& [name, type] : stored) {
                if (name.compare(names[qsizetype(i)], Qt::CaseInsensitive) == 0) {
                    declared = type;
                }
            }
            columns_.push_back({names[qsizetype(i)], SheetCaptionOf(column), DescriptionOf(column),
                                StoredType(declared), presence[i]});
        }
    }

    // How the columns are stored: as text, or which are not.
    QString storage() const {
        QStringList others;
        for (const DescribedColumn& c : columns_) {
            if (!c.storedAsText()) {
                others << c.name;
            }
        }
        if (others.isEmpty()) {
            return QStringLiteral(
                "Todas las columnas se almacenan como texto, también las que contienen "
                "números (folio, identificador, edad y jornada).");
        }
        return QStringLiteral(
                   "Las columnas se almacenan como texto, salvo %1; el tipo de cada una se "
                   "indica en su sección.")
            .arg(others.join(QStringLiteral(", ")));
    }

    void introduction() {
        const int described = int(columns_.size());
        html_ += QStringLiteral(
                     "<h1>Tipología de variables</h1>"
                     "<p class=\"subtitulo\">Base de datos de las Mireolas · tabla PONENCIAS</p>"
                     "<p>La base de datos de las Mireolas reúne %1 ponencias en una sola tabla, "
                     "PONENCIAS, con un registro por ponencia y %2 columnas. Este documento "
                     "describe %3: su significado, el encabezado con que aparece en "
                     "la hoja de resultados, el criterio de la ventana de consulta que la usa, "
                     "su tipo y los valores que toma, con su frecuencia en la base.</p>"
                     "<p>%4 Una celda puede carecer "
                     "de valor de dos maneras: como valor nulo, que se indica <i>(nulo)</i>, o "
                     "como texto vacío, que se indica <i>(vacío)</i>; la herramienta de "
                     "consulta trata ambos como texto vacío. Los porcentajes se calculan sobre "
                     "el total de ponencias.</p>")
                     .arg(Number(total_))
                     .arg(tableColumns_)
                     .arg(tableColumns_ == described
                              ? QStringLiteral("cada columna")
                              : QStringLiteral("cada una de las %1 columnas que usa la "
                                               "herramienta")
                                    .arg(described),
                          storage());
    }

    void overview() {
        html_ += QStringLiteral(
            "<h2>Resumen de las variables</h2>"
            "<table width=\"100%\" cellspacing=\"0\"><tr><th>Nº</th><th>Columna</th>"
            "<th>Encabezado en la hoja</th><th>Tipo de variable</th>"
            "<th>Valores distintos</th><th>Sin valor</th></tr>");
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const DescribedColumn& c = columns_[i];
            QString name = c.name;
            html_ += QStringLiteral(
                         "<tr><td class=\"numero\">%1</td><td>%2</td><td>%3</td><td>%4</td>"
                         "<td class=\"numero\">%5</td><td class=\"numero\">%6</td></tr>")
                         .arg(i + 1)
                         .arg(name.replace(QLatin1Char('_'), QStringLiteral("_&#8203;")),
                              c.caption ? QString::fromUtf8(c.caption)
                                        : QStringLiteral("<i>(no se incluye)</i>"),
                              c.kind(), Number(c.presence.distinct),
                              Number(c.presence.nulls + c.presence.empties));
        }
        html_ += QStringLiteral("</table>");
    }

    // The column's heading, meaning and summary table; its values follow.
    void column(std::size_t index) {
        const DescribedColumn& c = columns_[index];
        const ColumnPresence& p = c.presence;
        html_ += QStringLiteral("<h2>%1. %2</h2><p>%3</p>")
                     .arg(index + 1)
                     .arg(c.name, QString::fromUtf8(c.description->meaning));
        html_ += QStringLiteral(
                     "<table width=\"100%\" cellspacing=\"0\">"
                     "<tr><td width=\"34%\"><b>Encabezado en la hoja de resultados</b></td>"
                     "<td>%1</td></tr>"
                     "<tr><td><b>Criterio de la ventana de consulta</b></td><td>%2</td></tr>"
                     "<tr><td><b>Tipo de dato almacenado</b></td><td>%3</td></tr>"
                     "<tr><td><b>Tipo de variable</b></td><td>%4</td></tr>"
                     "<tr><td><b>Ponencias con valor</b></td><td>%5 (%6)</td></tr>"
                     "<tr><td><b>Sin valor</b></td><td>%7 nulos, %8 vacíos</td></tr>"
                     "<tr><td><b>Valores distintos</b></td><td>%9</td></tr></table>")
                     .arg(c.caption ? QString::fromUtf8(c.caption)
                                    : QStringLiteral("No se incluye en la hoja de resultados"),
                          c.description->filter
                              ? QStringLiteral("«%1»").arg(QString::fromUtf8(c.description->filter))
                              : QStringLiteral("Ninguno"),
                          c.storedType, c.kind(), Number(p.filled), Percent(p.filled, total_),
                          Number(p.nulls), Number(p.empties), Number(p.distinct));
    }

    TypologyStatistics statistics_;
    std::vector<DescribedColumn> columns_;  // the columns the program names, in order
    int tableColumns_ = 0;
    long long total_ = 0;
    QString html_;
};

}  // namespace

QString TypologyHtml(const StoreSnapshot& snapshot) {
    return TypologyDocument(snapshot).compose();
}

}  // namespace ponencias::documents
