// The typology of the variables: every column of PONENCIAS with its meaning, its type and the
// values it takes, counted in the store the document is delivered with.

#include <sqlite3.h>

#include <QMap>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <optional>
#include <vector>

#include "Documents.h"
#include "store/JetDialect.h"
#include "store/StoreSnapshot.h"

namespace ponencias::documents {

namespace {

using Cell = std::optional<QString>;  // nullopt is NULL
using Row = std::vector<Cell>;

// Runs the typology's statements on the store's copy of the data file, so an Access file and an
// SQLite file are read the same way and their values compare as the query window compares them.
class Store {
public:
    explicit Store(const StoreSnapshot& snapshot) : snapshot_(snapshot) {}

    // The rows of `sql`. Throws StoreError, in the store's words, when the statement fails.
    std::vector<Row> rows(const QString& sql) const {
        std::vector<Row> result;
        sqlite3_stmt* statement = snapshot_.Prepare(sql);
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            Row row;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                if (sqlite3_column_type(statement, i) == SQLITE_NULL) {
                    row.emplace_back();
                } else {
                    row.emplace_back(QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(statement, i)),
                        sqlite3_column_bytes(statement, i)));
                }
            }
            result.push_back(std::move(row));
        }
        sqlite3_finalize(statement);
        if (rc != SQLITE_DONE) {
            throw snapshot_.StatementFailure(sql);
        }
        return result;
    }

    QString value(const QString& sql) const {
        const std::vector<Row> r = rows(sql);
        return r.empty() || r[0].empty() || !r[0][0] ? QString() : *r[0][0];
    }
    long long number(const QString& sql) const { return value(sql).toLongLong(); }

private:
    const StoreSnapshot& snapshot_;
};

struct ColumnInfo {
    const char* name;
    const char* caption;  // header of the result sheet, or nullptr when not exported
    const char* filter;   // label of the query window's criterion, or nullptr
    const char* kind;
    const char* meaning;
};

const std::vector<ColumnInfo> kColumns = {
    {"FOLIO", "FOLIO", nullptr, "Identificador numérico, registrado como texto",
     "Número de folio de la ponencia, asignado al recibirla. Identifica el documento completo "
     "de la ponencia, publicado con el folio como nombre y la extensión .doc; en la hoja de "
     "resultados, el título vincula a ese documento."},
    {"ID", "ID", nullptr, "Identificador numérico, registrado como texto",
     "Número de registro de la ponencia en la base de datos, asignado durante la captura. Es "
     "independiente del folio."},
    {"ESTADO", "ESTADO / PAÍS", "País o entidad", "Cualitativa nominal",
     "Entidad federativa en que se presentó la ponencia o, para los mexicanos residentes en el "
     "extranjero, el país desde el que la presentaron."},
    {"EDAD", "EDAD", nullptr, "Cuantitativa discreta (años cumplidos), registrada como texto",
     "Edad del ponente al presentar la propuesta."},
    {"SEXO", "SEXO", nullptr, "Cualitativa nominal dicotómica", "Sexo del ponente."},
    {"PERFIL_PONENTE", "PERFIL DEL PONENTE", "Perfil del ponente", "Cualitativa nominal",
     "Perfil del ponente según su actividad o su relación con la materia electoral."},
    {"NUM_JORNADA", "JORNADA", "Número de jornada",
     "Cualitativa nominal (número de evento), registrada como texto",
     "Número de la jornada de la consulta en que se presentó la ponencia. Se compara como "
     "texto: en la hoja de resultados las jornadas se ordenan como texto (1, 10, 11, …, 2, "
     "20, …)."},
    {"EJE_TEMATICO", "EJE TEMÁTICO", "Eje temático", "Cualitativa nominal",
     "Primer nivel de la clasificación temática: el eje de la consulta al que corresponde la "
     "ponencia."},
    {"SUBTEMA", "SUBTEMA", "Subtema", "Cualitativa nominal, dependiente del eje temático",
     "Segundo nivel de la clasificación temática: el asunto de la ponencia dentro de su eje. "
     "En la ventana de consulta, la lista de subtemas muestra los del eje elegido."},
    {"CATEGORIA_SUBTEMA", "CATEGORÍA POR SUBTEMA", "Categoría por subtema",
     "Cualitativa nominal, dependiente del subtema",
     "Tercer nivel de la clasificación temática: el asunto concreto de la ponencia dentro de su "
     "subtema. En la ventana de consulta, la lista de categorías muestra las del subtema "
     "elegido."},
    {"TITULO", "TÍTULO", nullptr, "Texto libre",
     "Título de la ponencia. En la hoja de resultados es un vínculo al documento de la "
     "ponencia."},
    {"RESUMEN", "RESUMEN", "Búsqueda por palabra", "Texto libre",
     "Síntesis de la ponencia: el problema que expone el ponente, lo que propone y, en su caso, "
     "las leyes que implicaría reformar. La búsqueda por palabra se hace en este texto."},
    {"NORMATIVIDAD_MODIFICAR_1", "NORMATIVIDAD A MODIFICAR 1", "Normatividad a modificar",
     "Cualitativa nominal", "Primera ley o reglamento que la ponencia propone modificar."},
    {"NORMATIVIDAD_MODIFICAR_2", "NORMATIVIDAD A MODIFICAR 2", "Normatividad a modificar",
     "Cualitativa nominal", "Segunda ley o reglamento que la ponencia propone modificar."},
    {"NORMATIVIDAD_MODIFICAR_3", "NORMATIVIDAD A MODIFICAR 3", "Normatividad a modificar",
     "Cualitativa nominal", "Tercera ley o reglamento que la ponencia propone modificar."},
    {"NORMATIVIDAD_MODIFICAR_4", "NORMATIVIDAD A MODIFICAR 4", "Normatividad a modificar",
     "Cualitativa nominal", "Cuarta ley o reglamento que la ponencia propone modificar."},
    {"NORMATIVIDAD_MODIFICAR_5", nullptr, "Normatividad a modificar", "Cualitativa nominal",
     "Quinta ley o reglamento que la ponencia propone modificar. Se toma en cuenta al consultar "
     "por normatividad, pero no aparece en la hoja de resultados."},
};

// The federal entities as of 2007; any other place in ESTADO is a country abroad.
const QSet<QString> kFederalEntities = {
    "Aguascalientes", "Baja California", "Baja California Sur",
    "Campeche",       "Coahuila",        "Colima",
    "Chiapas",        "Chihuahua",       "Distrito Federal",
    "Durango",        "Guanajuato",      "Guerrero",
    "Hidalgo",        "Jalisco",         "México",
    "Michoacán",      "Morelos",         "Nayarit",
    "Nuevo León",     "Oaxaca",          "Puebla",
    "Querétaro",      "Quintana Roo",    "San Luis Potosí",
    "Sinaloa",        "Sonora",          "Tabasco",
    "Tamaulipas",     "Tlaxcala",        "Veracruz",
    "Yucatán",        "Zacatecas",
};

// The axes in the order of the consultation, which numbers them.
const QStringList kAxisOrder = {
    "Procedimientos electorales",
    "Generación y difusión de resultados electorales",
    "Campañas, condiciones de equidad y medios de comunicación",
    "Régimen de partidos y agrupaciones políticas nacionales: prerrogativas y obligaciones",
    "Participación ciudadana",
    "Resolución de disputas, justicia electoral y sanciones",
};

QString Shown(const Cell& cell) {
    if (!cell) {
        return QStringLiteral("<i>(nulo)</i>");
    }
    if (cell->isEmpty()) {
        return QStringLiteral("<i>(vacío)</i>");
    }
    return cell->toHtmlEscaped();
}

QString Number(long long n) {
    // Thousands separated by a comma, as the Mexican convention writes them.
    QString digits = QString::number(n);
    for (int i = digits.size() - 3; i > (n < 0 ? 1 : 0); i -= 3) {
        digits.insert(i, QLatin1Char(','));
    }
    return digits;
}

QString Percent(long long part, long long total) {
    if (part > 0 && part * 2000 < total) {
        return QStringLiteral("&lt; 0.1 %");
    }
    return total == 0
               ? QStringLiteral("–")
               : QString::number(100.0 * static_cast<double>(part) / static_cast<double>(total),
                                 'f', 1) +
                     QStringLiteral(" %");
}

// Alphabetical order as a reader expects it: accents and case do not change a word's place,
// so "México" comes before "Morelos". Values come first, then the empty text, then NULL.
bool Before(const Cell& a, const Cell& b) {
    const auto rank = [](const Cell& c) { return !c ? 2 : c->isEmpty() ? 1 : 0; };
    if (rank(a) != rank(b)) {
        return rank(a) < rank(b);
    }
    if (!a || !b) {
        return false;
    }
    const auto key = [](const QString& text) {
        QString plain;
        for (const QChar c : text.normalized(QString::NormalizationForm_D)) {
            if (c.category() != QChar::Mark_NonSpacing) {
                plain += c;
            }
        }
        return plain.toCaseFolded();
    };
    return key(*a) < key(*b);
}

int AxisRank(const Cell& axis) {
    const int i = axis ? static_cast<int>(kAxisOrder.indexOf(*axis)) : -1;
    return i < 0 ? static_cast<int>(kAxisOrder.size()) + (axis ? 0 : 1) : i;
}

QString AxisLabel(const Cell& axis) {
    const int i = axis ? static_cast<int>(kAxisOrder.indexOf(*axis)) : -1;
    return i < 0 ? Shown(axis) : QStringLiteral("%1. %2").arg(i + 1).arg(Shown(axis));
}

class Writer {
public:
    explicit Writer(const StoreSnapshot& snapshot) : store_(snapshot) {}

    QString compose() {
        total_ = store_.number(QStringLiteral("SELECT COUNT(*) FROM PONENCIAS"));
        html_ += QStringLiteral(
                     "<h1>Tipología de variables</h1>"
                     "<p class=\"subtitulo\">Base de datos de las Mireolas · tabla PONENCIAS</p>"
                     "<p>La base de datos de las Mireolas reúne %1 ponencias en una sola tabla, "
                     "PONENCIAS, con un registro por ponencia y %2 columnas. Este documento "
                     "describe cada columna: su significado, el encabezado con que aparece en "
                     "la hoja de resultados, el criterio de la ventana de consulta que la usa, "
                     "su tipo y los valores que toma, con su frecuencia en la base.</p>"
                     "<p>Todas las columnas se almacenan como texto, también las que contienen "
                     "números (folio, identificador, edad y jornada). Una celda puede carecer "
                     "de valor de dos maneras: como valor nulo, que se indica <i>(nulo)</i>, o "
                     "como texto vacío, que se indica <i>(vacío)</i>; la herramienta de "
                     "consulta trata ambos como texto vacío. Los porcentajes se calculan sobre "
                     "el total de ponencias.</p>")
                     .arg(Number(total_))
                     .arg(kColumns.size());
        countPresence();
        overview();
        for (std::size_t i = 0; i < kColumns.size(); ++i) {
            column(i);
        }
        return html_;
    }

private:
    // One line of a values table: the value, how many proposals hold it and their share.
    QString countRow(const QString& label, long long n) const {
        return QStringLiteral(
                   "<tr><td>%1</td><td class=\"numero\">%2</td><td class=\"numero\">%3</td></tr>")
            .arg(label, Number(n), Percent(n, total_));
    }

    struct Presence {
        long long filled = 0, nulls = 0, empties = 0, distinct = 0;
    };

    // How every column is filled, counted in one pass over the table: on a large file each
    // pass costs as much as the counting.
    void countPresence() {
        QStringList sums;
        for (const ColumnInfo& c : kColumns) {
            sums << QStringLiteral(
                        "SUM(%1 IS NOT NULL AND %1 <> ''), SUM(%1 IS NULL), "
                        "SUM(%1 = ''), COUNT(DISTINCT NULLIF(%1, ''))")
                        .arg(QString::fromUtf8(c.name));
        }
        const std::vector<Row> r = store_.rows(
            QStringLiteral("SELECT %1 FROM PONENCIAS").arg(sums.join(QStringLiteral(", "))));
        presence_.assign(kColumns.size(), Presence{});
        for (std::size_t i = 0; i < kColumns.size() && !r.empty(); ++i) {
            const auto at = [&](std::size_t k) {
                return r[0][4 * i + k].value_or(QString()).toLongLong();
            };
            presence_[i] = Presence{at(0), at(1), at(2), at(3)};
        }
    }

    void overview() {
        html_ += QStringLiteral(
            "<h2>Resumen de las variables</h2>"
            "<table width=\"100%\" cellspacing=\"0\"><tr><th>Nº</th><th>Columna</th>"
            "<th>Encabezado en la hoja</th><th>Tipo de variable</th>"
            "<th>Valores distintos</th><th>Sin valor</th></tr>");
        for (std::size_t i = 0; i < kColumns.size(); ++i) {
            const ColumnInfo& c = kColumns[i];
            const Presence& p = presence_[i];
            html_ += QStringLiteral(
                         "<tr><td class=\"numero\">%1</td><td>%2</td><td>%3</td><td>%4</td>"
                         "<td class=\"numero\">%5</td><td class=\"numero\">%6</td></tr>")
                         .arg(i + 1)
                         .arg(QString::fromUtf8(c.name).replace(QLatin1Char('_'),
                                                                QStringLiteral("_&#8203;")),
                              c.caption ? QString::fromUtf8(c.caption)
                                        : QStringLiteral("<i>(no se incluye)</i>"),
                              QString::fromUtf8(c.kind), Number(p.distinct),
                              Number(p.nulls + p.empties));
        }
        html_ += QStringLiteral("</table>");
    }

    void column(std::size_t index) {
        const ColumnInfo& c = kColumns[index];
        const QString name = QString::fromUtf8(c.name);
        const Presence& p = presence_[index];
        html_ += QStringLiteral("<h2>%1. %2</h2><p>%3</p>")
                     .arg(index + 1)
                     .arg(name, QString::fromUtf8(c.meaning));
        html_ += QStringLiteral(
                     "<table width=\"100%\" cellspacing=\"0\">"
                     "<tr><td width=\"34%\"><b>Encabezado en la hoja de resultados</b></td>"
                     "<td>%1</td></tr>"
                     "<tr><td><b>Criterio de la ventana de consulta</b></td><td>%2</td></tr>"
                     "<tr><td><b>Tipo de dato almacenado</b></td><td>Texto</td></tr>"
                     "<tr><td><b>Tipo de variable</b></td><td>%3</td></tr>"
                     "<tr><td><b>Ponencias con valor</b></td><td>%4 (%5)</td></tr>"
                     "<tr><td><b>Sin valor</b></td><td>%6 nulos, %7 vacíos</td></tr>"
                     "<tr><td><b>Valores distintos</b></td><td>%8</td></tr></table>")
                     .arg(c.caption ? QString::fromUtf8(c.caption)
                                    : QStringLiteral("No se incluye en la hoja de resultados"),
                          c.filter ? QStringLiteral("«%1»").arg(QString::fromUtf8(c.filter))
                                   : QStringLiteral("Ninguno"),
                          QString::fromUtf8(c.kind), Number(p.filled), Percent(p.filled, total_),
                          Number(p.nulls), Number(p.empties), Number(p.distinct));

        if (name == QLatin1String("FOLIO") || name == QLatin1String("ID")) {
            identifier(name);
        } else if (name == QLatin1String("ESTADO")) {
            places();
        } else if (name == QLatin1String("EDAD")) {
            ages();
        } else if (name == QLatin1String("NUM_JORNADA")) {
            frequencies(name, QStringLiteral("Jornada"),
                        QStringLiteral("CAST(%1 AS INTEGER) = 0, CAST(%1 AS INTEGER)").arg(name));
        } else if (name == QLatin1String("EJE_TEMATICO")) {
            axes();
        } else if (name == QLatin1String("SUBTEMA")) {
            subtopics();
        } else if (name == QLatin1String("CATEGORIA_SUBTEMA")) {
            categories();
        } else if (name == QLatin1String("TITULO") || name == QLatin1String("RESUMEN")) {
            freeText(name);
        } else if (name == QLatin1String("NORMATIVIDAD_MODIFICAR_5")) {
            laws();
        } else if (name.startsWith(QLatin1String("NORMATIVIDAD_MODIFICAR_"))) {
            html_ += QStringLiteral(
                "<p>Los valores de las cinco columnas de normatividad se presentan juntos al "
                "final de este documento, en la sección de NORMATIVIDAD_MODIFICAR_5.</p>");
        } else {
            frequencies(name, QStringLiteral("Valor"), QStringLiteral("COUNT(*) DESC, 1"));
        }
    }

    void frequencies(const QString& column, const QString& heading, const QString& order) {
        const std::vector<Row> rows = store_.rows(
            QStringLiteral("SELECT %1, COUNT(*) FROM PONENCIAS GROUP BY %1 ORDER BY %1 IS NULL, "
                           "%1 = '', %2")
                .arg(column, order));
        html_ += QStringLiteral(
                     "<h3>Valores</h3><table width=\"80%\" cellspacing=\"0\"><tr><th>%1</th>"
                     "<th width=\"18%\">Ponencias</th><th width=\"14%\">%</th></tr>")
                     .arg(heading);
        for (const Row& r : rows) {
            const long long n = r[1].value_or(QString()).toLongLong();
            html_ += countRow(Shown(r[0]), n);
        }
        html_ += QStringLiteral("</table>");
    }

    void identifier(const QString& column) {
        const std::vector<Row> r =
            store_.rows(QStringLiteral("SELECT MIN(CAST(%1 AS INTEGER)), MAX(CAST(%1 AS INTEGER)), "
                                       "COUNT(DISTINCT %1) FROM PONENCIAS WHERE %1 <> ''")
                            .arg(column));
        if (r.empty()) {
            return;
        }
        html_ += QStringLiteral(
                     "<h3>Valores</h3><p>Números enteros del %1 al %2, escritos sin ceros a la "
                     "izquierda; %3 valores distintos, %4.</p>")
                     .arg(Number(r[0][0].value_or(QString()).toLongLong()),
                          Number(r[0][1].value_or(QString()).toLongLong()),
                          Number(r[0][2].value_or(QString()).toLongLong()),
                          r[0][2].value_or(QString()).toLongLong() == total_
                              ? QStringLiteral("uno por ponencia")
                              : QStringLiteral("con algunos valores repetidos"));
    }

    void places() {
        std::vector<Row> rows =
            store_.rows(QStringLiteral("SELECT ESTADO, COUNT(*) FROM PONENCIAS GROUP BY ESTADO"));
        std::stable_sort(rows.begin(), rows.end(),
                         [](const Row& a, const Row& b) { return Before(a[0], b[0]); });
        QString entities, abroad, missing;
        long long inEntities = 0, inAbroad = 0;
        for (const Row& r : rows) {
            const long long n = r[1].value_or(QString()).toLongLong();
            const QString line = countRow(Shown(r[0]), n);
            if (!r[0] || r[0]->isEmpty()) {
                missing += line;
            } else if (kFederalEntities.contains(*r[0])) {
                entities += line;
                inEntities += n;
            } else {
                abroad += line;
                inAbroad += n;
            }
        }
        const QString head = QStringLiteral(
            "<table width=\"80%\" cellspacing=\"0\"><tr><th>%1</th><th width=\"18%\">Ponencias"
            "</th><th width=\"14%\">%</th></tr>");
        html_ += QStringLiteral("<h3>Entidades federativas (%1 ponencias)</h3>")
                     .arg(Number(inEntities)) +
                 head.arg(QStringLiteral("Entidad")) + entities + QStringLiteral("</table>");
        html_ += QStringLiteral("<h3>Mexicanos residentes en el extranjero (%1 ponencias)</h3>")
                     .arg(Number(inAbroad)) +
                 head.arg(QStringLiteral("País")) + abroad + QStringLiteral("</table>");
        if (!missing.isEmpty()) {
            html_ += QStringLiteral("<h3>Sin dato</h3>") + head.arg(QStringLiteral("Valor")) +
                     missing + QStringLiteral("</table>");
        }
    }

    void ages() {
        const QString valid = QStringLiteral("EDAD <> '' AND EDAD IS NOT NULL");
        const std::vector<Row> r = store_.rows(
            QStringLiteral("SELECT MIN(CAST(EDAD AS INTEGER)), MAX(CAST(EDAD AS INTEGER)), "
                           "AVG(CAST(EDAD AS INTEGER)) FROM PONENCIAS WHERE %1")
                .arg(valid));
        const long long count =
            store_.number(QStringLiteral("SELECT COUNT(*) FROM PONENCIAS WHERE %1").arg(valid));
        const QString median = store_.value(
            QStringLiteral("SELECT CAST(EDAD AS INTEGER) FROM PONENCIAS WHERE %1 ORDER BY "
                           "CAST(EDAD AS INTEGER) LIMIT 1 OFFSET %2")
                .arg(valid)
                .arg(count / 2));
        if (!r.empty()) {
            html_ +=
                QStringLiteral(
                    "<h3>Valores</h3><p>Años cumplidos, de %1 a %2; edad media %3 años, "
                    "mediana %4 años.</p>")
                    .arg(r[0][0].value_or(QString()), r[0][1].value_or(QString()),
                         QString::number(r[0][2].value_or(QString()).toDouble(), 'f', 1), median);
        }
        struct Band {
            int low, high;
            const char* label;
        };
        const Band bands[] = {{0, 24, "Hasta 24 años"},    {25, 34, "De 25 a 34 años"},
                              {35, 44, "De 35 a 44 años"}, {45, 54, "De 45 a 54 años"},
                              {55, 64, "De 55 a 64 años"}, {65, 200, "65 años o más"}};
        html_ += QStringLiteral(
            "<table width=\"80%\" cellspacing=\"0\"><tr><th>Grupo de edad</th>"
            "<th width=\"18%\">Ponencias</th><th width=\"14%\">%</th></tr>");
        // Every band counted in one pass.
        QStringList sums;
        for (const Band& b : bands) {
            sums << QStringLiteral("SUM(CAST(EDAD AS INTEGER) BETWEEN %1 AND %2)")
                        .arg(b.low)
                        .arg(b.high);
        }
        const std::vector<Row> counts =
            store_.rows(QStringLiteral("SELECT %1 FROM PONENCIAS WHERE %2")
                            .arg(sums.join(QStringLiteral(", ")), valid));
        for (std::size_t i = 0; i < std::size(bands); ++i) {
            const long long n = counts.empty() ? 0 : counts[0][i].value_or(QString()).toLongLong();
            html_ += countRow(QString::fromUtf8(bands[i].label), n);
        }
        const long long none = total_ - count;
        html_ += QStringLiteral(
                     "<tr><td><i>Sin dato</i></td><td class=\"numero\">%1</td>"
                     "<td class=\"numero\">%2</td></tr></table>")
                     .arg(Number(none), Percent(none, total_));
    }

    void axes() {
        std::vector<Row> rows = store_.rows(QStringLiteral(
            "SELECT EJE_TEMATICO, COUNT(*), COUNT(DISTINCT NULLIF(SUBTEMA, '')) FROM PONENCIAS "
            "GROUP BY EJE_TEMATICO"));
        std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
            return AxisRank(a[0]) < AxisRank(b[0]);
        });
        html_ += QStringLiteral(
            "<h3>Valores</h3><p>Los seis ejes de la consulta, con el número que les da su "
            "presentación (el número no forma parte del valor almacenado).</p>"
            "<table width=\"100%\" cellspacing=\"0\"><tr><th>Eje temático</th>"
            "<th width=\"12%\">Subtemas</th><th width=\"13%\">Ponencias</th>"
            "<th width=\"10%\">%</th></tr>");
        for (const Row& r : rows) {
            const long long n = r[1].value_or(QString()).toLongLong();
            html_ +=
                QStringLiteral(
                    "<tr><td>%1</td><td class=\"numero\">%2</td><td class=\"numero\">%3"
                    "</td><td class=\"numero\">%4</td></tr>")
                    .arg(AxisLabel(r[0]), r[2].value_or(QString()), Number(n), Percent(n, total_));
        }
        html_ += QStringLiteral("</table>");
    }

    // The classification as stored: axis, subtopic, category and the number of proposals. Read
    // once; the subtopics and the categories both show it.
    const std::vector<Row>& classification() {
        if (classification_) {
            return *classification_;
        }
        std::vector<Row> rows = store_.rows(QStringLiteral(
            "SELECT EJE_TEMATICO, SUBTEMA, CATEGORIA_SUBTEMA, COUNT(*) FROM PONENCIAS "
            "GROUP BY 1, 2, 3"));
        std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
            if (AxisRank(a[0]) != AxisRank(b[0])) {
                return AxisRank(a[0]) < AxisRank(b[0]);
            }
            if (Before(a[1], b[1]) || Before(b[1], a[1])) {
                return Before(a[1], b[1]);
            }
            return Before(a[2], b[2]);
        });
        classification_ = std::move(rows);
        return *classification_;
    }

    void subtopics() {
        const std::vector<Row>& rows = classification();
        // Subtopic name -> the axes it appears under.
        QMap<QString, QSet<QString>> axesOf;
        for (const Row& r : rows) {
            if (r[0] && !r[0]->isEmpty() && r[1] && !r[1]->isEmpty()) {
                axesOf[*r[1]].insert(*r[0]);
            }
        }
        html_ += QStringLiteral(
            "<h3>Valores</h3><p>Subtemas de cada eje temático, con el número de categorías que "
            "contienen y de ponencias que clasifican.");
        for (auto it = axesOf.cbegin(); it != axesOf.cend(); ++it) {
            if (it.value().size() > 1) {
                html_ += QStringLiteral(
                             " El subtema «%1» aparece en %2 ejes, con categorías distintas en "
                             "cada uno.")
                             .arg(it.key().toHtmlEscaped())
                             .arg(it.value().size());
            }
        }
        html_ += QStringLiteral(
            "</p><table width=\"100%\" cellspacing=\"0\"><tr><th>Subtema</th>"
            "<th width=\"13%\">Categorías</th><th width=\"13%\">Ponencias</th>"
            "<th width=\"10%\">%</th></tr>");
        struct Totals {
            Cell axis, subtopic;
            long long count = 0;
            int categories = 0;
        };
        std::vector<Totals> totals;
        for (const Row& r : rows) {
            if (totals.empty() || totals.back().axis != r[0] || totals.back().subtopic != r[1]) {
                totals.push_back({r[0], r[1], 0, 0});
            }
            totals.back().count += r[3].value_or(QString()).toLongLong();
            if (r[2] && !r[2]->isEmpty()) {
                ++totals.back().categories;
            }
        }
        std::optional<Cell> axis;
        for (const Totals& t : totals) {
            if (!axis || *axis != t.axis) {
                axis = t.axis;
                html_ += QStringLiteral("<tr class=\"grupo\"><td colspan=\"4\">%1</td></tr>")
                             .arg(AxisLabel(t.axis));
            }
            html_ += QStringLiteral(
                         "<tr><td>%1</td><td class=\"numero\">%2</td><td class=\"numero\">%3"
                         "</td><td class=\"numero\">%4</td></tr>")
                         .arg(Shown(t.subtopic))
                         .arg(t.categories)
                         .arg(Number(t.count), Percent(t.count, total_));
        }
        html_ += QStringLiteral("</table>");
    }

    void categories() {
        const std::vector<Row>& rows = classification();
        html_ += QStringLiteral(
            "<h3>Valores</h3><p>Categorías de cada subtema, agrupadas por eje temático y "
            "subtema, con el número de ponencias que clasifican.</p>"
            "<table width=\"100%\" cellspacing=\"0\"><tr><th>Categoría por subtema</th>"
            "<th width=\"13%\">Ponencias</th><th width=\"10%\">%</th></tr>");
        std::optional<Cell> axis, subtopic;
        for (const Row& r : rows) {
            if (!axis || *axis != r[0]) {
                axis = r[0];
                subtopic.reset();
                html_ += QStringLiteral("<tr class=\"grupo\"><td colspan=\"3\">%1</td></tr>")
                             .arg(AxisLabel(r[0]));
            }
            if (!subtopic || *subtopic != r[1]) {
                subtopic = r[1];
                html_ += QStringLiteral("<tr><td colspan=\"3\"><i>Subtema: %1</i></td></tr>")
                             .arg(Shown(r[1]));
            }
            const long long n = r[3].value_or(QString()).toLongLong();
            html_ += countRow(QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;") + Shown(r[2]), n);
        }
        html_ += QStringLiteral("</table>");
    }

    void freeText(const QString& column) {
        const std::vector<Row> r = store_.rows(
            QStringLiteral("SELECT MIN(LENGTH(%1)), ROUND(AVG(LENGTH(%1))), MAX(LENGTH(%1)) "
                           "FROM PONENCIAS WHERE %1 <> ''")
                .arg(column));
        const QString example = store_.value(
            QStringLiteral("SELECT %1 FROM PONENCIAS WHERE %1 <> '' LIMIT 1").arg(column));
        if (!r.empty()) {
            html_ += QStringLiteral(
                         "<h3>Valores</h3><p>Texto libre en español, de %1 a %2 caracteres "
                         "(%3 en promedio). Ejemplo:</p><p><i>%4</i></p>")
                         .arg(r[0][0].value_or(QString()), r[0][2].value_or(QString()),
                              QString::number(r[0][1].value_or(QString()).toDouble(), 'f', 0),
                              example.toHtmlEscaped());
        }
    }

    void laws() {
        QStringList columns;
        for (int i = 1; i <= 5; ++i) {
            columns << QStringLiteral("NORMATIVIDAD_MODIFICAR_%1").arg(i);
        }
        html_ += QStringLiteral(
            "<h3>Valores de las cinco columnas de normatividad</h3>"
            "<p>Cada ponencia nombra hasta cinco leyes, una por columna, a partir de la primera. "
            "El texto «No aplica» y la celda vacía no nombran ninguna ley. La tabla da, para "
            "cada ley, el número de ponencias que la nombran en cada columna y el de ponencias "
            "que la nombran en alguna.</p>"
            "<table width=\"100%\" cellspacing=\"0\"><tr><th>Ley o reglamento</th>"
            "<th width=\"6%\">1</th><th width=\"6%\">2</th><th width=\"6%\">3</th>"
            "<th width=\"6%\">4</th><th width=\"6%\">5</th><th width=\"13%\">Ponencias</th>"
            "</tr>");
        // One pass over the five columns gives every law with its count per column and the
        // number of proposals that name it anywhere; a large file holds many distinct texts,
        // and a scan per law would grow with their number.
        QStringList mentions;
        for (int i = 0; i < columns.size(); ++i) {
            mentions << QStringLiteral(
                            "SELECT rowid AS proposal, %1 AS place, %2 AS law FROM PONENCIAS "
                            "WHERE %2 <> '' AND %2 <> 'No aplica'")
                            .arg(i + 1)
                            .arg(columns[i]);
        }
        QString perColumn;
        for (int i = 1; i <= columns.size(); ++i) {
            perColumn += QStringLiteral("SUM(place = %1), ").arg(i);
        }
        std::vector<Row> named = store_.rows(
            QStringLiteral("SELECT law, %1COUNT(DISTINCT proposal) FROM (%2) GROUP BY law "
                           "COLLATE %3 ORDER BY law COLLATE %3")
                .arg(perColumn, mentions.join(QStringLiteral(" UNION ALL ")),
                     QLatin1String(kJetTextCollation)));
        const auto count = [&](const Row& r, std::size_t i) {
            return r[i].value_or(QString()).toLongLong();
        };
        const std::size_t anyColumn = std::size_t(columns.size()) + 1;
        std::stable_sort(named.begin(), named.end(), [&](const Row& a, const Row& b) {
            return count(a, anyColumn) > count(b, anyColumn);
        });
        const auto cells = [&](const Row& r, std::size_t first) {
            QString text;
            for (std::size_t i = first; i < first + std::size_t(columns.size()); ++i) {
                text += QStringLiteral("<td class=\"numero\">%1</td>").arg(Number(count(r, i)));
            }
            return text;
        };
        for (const Row& law : named) {
            html_ += QStringLiteral("<tr><td>%1</td>%2<td class=\"numero\">%3</td></tr>")
                         .arg(law[0].value_or(QString()).toHtmlEscaped(), cells(law, 1),
                              Number(count(law, anyColumn)));
        }
        QStringList blanks;
        for (const char* condition : {"%1 = 'No aplica'", "%1 = ''", "%1 IS NULL"}) {
            for (const QString& c : columns) {
                blanks << QStringLiteral("SUM(%1)").arg(QString::fromLatin1(condition).arg(c));
            }
        }
        const std::vector<Row> none = store_.rows(
            QStringLiteral("SELECT %1 FROM PONENCIAS").arg(blanks.join(QStringLiteral(", "))));
        if (!none.empty()) {
            const std::size_t n = std::size_t(columns.size());
            html_ += QStringLiteral(
                         "<tr><td><i>No aplica</i></td>%1<td></td></tr>"
                         "<tr><td><i>(vacío)</i></td>%2<td></td></tr>"
                         "<tr><td><i>(nulo)</i></td>%3<td></td></tr>")
                         .arg(cells(none[0], 0), cells(none[0], n), cells(none[0], 2 * n));
        }
        html_ += QStringLiteral("</table>");

        // How many laws each proposal names.
        QStringList terms;
        for (const QString& c : columns) {
            terms << QStringLiteral("(%1 <> '' AND %1 <> 'No aplica')").arg(c);
        }
        const std::vector<Row> counts = store_.rows(
            QStringLiteral("SELECT n, COUNT(*) FROM (SELECT %1 AS n FROM PONENCIAS) GROUP BY n "
                           "ORDER BY n")
                .arg(QStringLiteral("IFNULL(") + terms.join(QStringLiteral(", 0) + IFNULL(")) +
                     QStringLiteral(", 0)")));
        html_ += QStringLiteral(
            "<h3>Número de leyes por ponencia</h3><table width=\"80%\" cellspacing=\"0\">"
            "<tr><th>Leyes que nombra la ponencia</th><th width=\"18%\">Ponencias</th>"
            "<th width=\"14%\">%</th></tr>");
        for (const Row& r : counts) {
            const long long n = r[1].value_or(QString()).toLongLong();
            const QString laws = r[0].value_or(QString());
            html_ += countRow(laws == QLatin1String("0") ? QStringLiteral("Ninguna") : laws, n);
        }
        html_ += QStringLiteral("</table>");
    }

    Store store_;
    std::vector<Presence> presence_;  // by the index in kColumns
    std::optional<std::vector<Row>> classification_;
    long long total_ = 0;
    QString html_;
};

}  // namespace

QString TypologyHtml(const StoreSnapshot& snapshot) {
    return Writer(snapshot).compose();
}

}  // namespace ponencias::documents
