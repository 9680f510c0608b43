#include "TypologyValueSections.h"

#include <QMap>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <iterator>

#include "TypologyFormatting.h"
#include "store/ProposalTable.h"

namespace ponencias::documents {

namespace {

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

// The age groups of the ages' table.
struct LabelledBand {
    AgeBand band;
    const char* label;
};
const LabelledBand kAgeBands[] = {{{0, 24}, "Hasta 24 años"},    {{25, 34}, "De 25 a 34 años"},
                                  {{35, 44}, "De 35 a 44 años"}, {{45, 54}, "De 45 a 54 años"},
                                  {{55, 64}, "De 55 a 64 años"}, {{65, 200}, "65 años o más"}};

// The columns that name a law to modify, in order.
QStringList LawColumns() {
    QStringList columns;
    for (const char* column : kProposalColumns) {
        if (QLatin1String(column).startsWith(QLatin1String("NORMATIVIDAD_MODIFICAR_"))) {
            columns << QString::fromLatin1(column);
        }
    }
    return columns;
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

// The head of a values table of one label, the proposals and their share.
QString CountTableHead(const QString& label) {
    return QStringLiteral(
               "<table width=\"80%\" cellspacing=\"0\"><tr><th>%1</th><th width=\"18%\">"
               "Ponencias</th><th width=\"14%\">%</th></tr>")
        .arg(label);
}

}  // namespace

QString TypologyValueSections::section(const QString& name) {
    const QStringList lawColumns = LawColumns();
    if (name == QLatin1String("FOLIO") || name == QLatin1String("ID")) {
        return identifier(name);
    } else if (name == QLatin1String("ESTADO")) {
        return places();
    } else if (name == QLatin1String("EDAD")) {
        return ages();
    } else if (name == QLatin1String("NUM_JORNADA")) {
        return frequencies(
            name, QStringLiteral("Jornada"),
            QStringLiteral("CAST(%1 AS INTEGER) = 0, CAST(%1 AS INTEGER)").arg(name));
    } else if (name == QLatin1String("EJE_TEMATICO")) {
        return axes();
    } else if (name == QLatin1String("SUBTEMA")) {
        return subtopics();
    } else if (name == QLatin1String("CATEGORIA_SUBTEMA")) {
        return categories();
    } else if (name == QLatin1String("TITULO") || name == QLatin1String("RESUMEN")) {
        return freeText(name);
    } else if (name == lawColumns.last()) {
        return laws();
    } else if (lawColumns.contains(name)) {
        return QStringLiteral(
                   "<p>Los valores de las cinco columnas de normatividad se presentan juntos al "
                   "final de este documento, en la sección de %1.</p>")
            .arg(lawColumns.last());
    }
    return frequencies(name, QStringLiteral("Valor"), QStringLiteral("COUNT(*) DESC, 1"));
}

QString TypologyValueSections::frequencies(const QString& column, const QString& heading,
                                           const QString& order) {
    QString html = QStringLiteral("<h3>Valores</h3>") + CountTableHead(heading);
    for (const Row& r : statistics_.frequencies(column, order)) {
        html += CountRow(Shown(r[0]), CountOf(r[1]), total_);
    }
    return html + QStringLiteral("</table>");
}

QString TypologyValueSections::identifier(const QString& column) {
    const IdentifierValues values = statistics_.identifier(column);
    const QString writing =
        values.otherwiseWritten == 0
            ? QStringLiteral("escritos sin ceros a la izquierda")
            : QStringLiteral(
                  "%1 de ellos escritos de otro modo (con ceros a la izquierda, "
                  "espacios u otros signos)")
                  .arg(Number(values.otherwiseWritten));
    return QStringLiteral(
               "<h3>Valores</h3><p>Números enteros del %1 al %2, %3; %4 valores distintos, "
               "%5.</p>")
        .arg(Number(values.lowest), Number(values.highest), writing, Number(values.distinct),
             values.distinct == total_ ? QStringLiteral("uno por ponencia")
                                       : QStringLiteral("con algunos valores repetidos"));
}

QString TypologyValueSections::places() {
    std::vector<Row> rows = statistics_.counts(QStringLiteral("ESTADO"));
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return Before(a[0], b[0]); });
    QString entities, abroad, missing;
    long long inEntities = 0, inAbroad = 0;
    for (const Row& r : rows) {
        const long long n = CountOf(r[1]);
        const QString line = CountRow(Shown(r[0]), n, total_);
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
    QString html =
        QStringLiteral("<h3>Entidades federativas (%1 ponencias)</h3>").arg(Number(inEntities)) +
        CountTableHead(QStringLiteral("Entidad")) + entities + QStringLiteral("</table>");
    html += QStringLiteral("<h3>Mexicanos residentes en el extranjero (%1 ponencias)</h3>")
                .arg(Number(inAbroad)) +
            CountTableHead(QStringLiteral("País")) + abroad + QStringLiteral("</table>");
    if (!missing.isEmpty()) {
        html += QStringLiteral("<h3>Sin dato</h3>") + CountTableHead(QStringLiteral("Valor")) +
                missing + QStringLiteral("</table>");
    }
    return html;
}

QString TypologyValueSections::ages() {
    std::vector<AgeBand> bands;
    for (const LabelledBand& b : kAgeBands) {
        bands.push_back(b.band);
    }
    const AgeValues ages = statistics_.ages(bands);
    QString html =
        QStringLiteral(
            "<h3>Valores</h3><p>Años cumplidos, de %1 a %2; edad media %3 años, "
            "mediana %4 años.</p>")
            .arg(ages.youngest, ages.oldest, QString::number(ages.mean, 'f', 1), ages.median);
    html += CountTableHead(QStringLiteral("Grupo de edad"));
    for (std::size_t i = 0; i < std::size(kAgeBands); ++i) {
        html += CountRow(QString::fromUtf8(kAgeBands[i].label), ages.perBand[i], total_);
    }
    const long long none = total_ - ages.given;
    return html + QStringLiteral(
                      "<tr><td><i>Sin dato</i></td><td class=\"numero\">%1</td>"
                      "<td class=\"numero\">%2</td></tr></table>")
                      .arg(Number(none), Percent(none, total_));
}

QString TypologyValueSections::axes() {
    std::vector<Row> rows = statistics_.axes();
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return AxisRank(a[0]) < AxisRank(b[0]); });
    QString html = QStringLiteral(
        "<h3>Valores</h3><p>Los seis ejes de la consulta, con el número que les da su "
        "presentación (el número no forma parte del valor almacenado).</p>"
        "<table width=\"100%\" cellspacing=\"0\"><tr><th>Eje temático</th>"
        "<th width=\"12%\">Subtemas</th><th width=\"13%\">Ponencias</th>"
        "<th width=\"10%\">%</th></tr>");
    for (const Row& r : rows) {
        const long long n = CountOf(r[1]);
        html += QStringLiteral(
                    "<tr><td>%1</td><td class=\"numero\">%2</td><td class=\"numero\">%3"
                    "</td><td class=\"numero\">%4</td></tr>")
                    .arg(AxisLabel(r[0]), r[2].value_or(QString()), Number(n), Percent(n, total_));
    }
    return html + QStringLiteral("</table>");
}

const std::vector<Row>& TypologyValueSections::classification() {
    if (!classification_) {
        std::vector<Row> rows = statistics_.classification();
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
    }
    return *classification_;
}

QString TypologyValueSections::subtopics() {
    const std::vector<Row>& rows = classification();
    // Subtopic name -> the axes it appears under.
    QMap<QString, QSet<QString>> axesOf;
    for (const Row& r : rows) {
        if (r[0] && !r[0]->isEmpty() && r[1] && !r[1]->isEmpty()) {
            axesOf[*r[1]].insert(*r[0]);
        }
    }
    QString html = QStringLiteral(
        "<h3>Valores</h3><p>Subtemas de cada eje temático, con el número de categorías que "
        "contienen y de ponencias que clasifican.");
    for (auto it = axesOf.cbegin(); it != axesOf.cend(); ++it) {
        if (it.value().size() > 1) {
            html += QStringLiteral(
                        " El subtema «%1» aparece en %2 ejes, con categorías distintas en "
                        "cada uno.")
                        .arg(it.key().toHtmlEscaped())
                        .arg(it.value().size());
        }
    }
    html += QStringLiteral(
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
        totals.back().count += CountOf(r[3]);
        if (r[2] && !r[2]->isEmpty()) {
            ++totals.back().categories;
        }
    }
    std::optional<Cell> axis;
    for (const Totals& t : totals) {
        if (!axis || *axis != t.axis) {
            axis = t.axis;
            html += QStringLiteral("<tr class=\"grupo\"><td colspan=\"4\">%1</td></tr>")
                        .arg(AxisLabel(t.axis));
        }
        html += QStringLiteral(
                    "<tr><td>%1</td><td class=\"numero\">%2</td><td class=\"numero\">%3"
                    "</td><td class=\"numero\">%4</td></tr>")
                    .arg(Shown(t.subtopic))
                    .arg(t.categories)
                    .arg(Number(t.count), Percent(t.count, total_));
    }
    return html + QStringLiteral("</table>");
}

QString TypologyValueSections::categories() {
    QString html = QStringLiteral(
        "<h3>Valores</h3><p>Categorías de cada subtema, agrupadas por eje temático y "
        "subtema, con el número de ponencias que clasifican.</p>"
        "<table width=\"100%\" cellspacing=\"0\"><tr><th>Categoría por subtema</th>"
        "<th width=\"13%\">Ponencias</th><th width=\"10%\">%</th></tr>");
    std::optional<Cell> axis, subtopic;
    for (const Row& r : classification()) {
        if (!axis || *axis != r[0]) {
            axis = r[0];
            subtopic.reset();
            html += QStringLiteral("<tr class=\"grupo\"><td colspan=\"3\">%1</td></tr>")
                        .arg(AxisLabel(r[0]));
        }
        if (!subtopic || *subtopic != r[1]) {
            subtopic = r[1];
            html += QStringLiteral("<tr><td colspan=\"3\"><i>Subtema: %1</i></td></tr>")
                        .arg(Shown(r[1]));
        }
        html += CountRow(QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;") + Shown(r[2]), CountOf(r[3]),
                         total_);
    }
    return html + QStringLiteral("</table>");
}

QString TypologyValueSections::freeText(const QString& column) {
    const TextLengths lengths = statistics_.freeText(column);
    if (!lengths.any) {
        return QString();
    }
    return QStringLiteral(
               "<h3>Valores</h3><p>Texto libre en español, de %1 a %2 caracteres "
               "(%3 en promedio). Ejemplo:</p><p><i>%4</i></p>")
        .arg(lengths.shortest, lengths.longest, QString::number(lengths.mean, 'f', 0),
             lengths.example.toHtmlEscaped());
}

QString TypologyValueSections::laws() {
    const QStringList columns = LawColumns();
    const std::size_t n = std::size_t(columns.size());
    const LawValues laws = statistics_.laws(columns);
    QString places;
    for (std::size_t i = 1; i <= n; ++i) {
        places += QStringLiteral("<th width=\"6%\">%1</th>").arg(i);
    }
    QString html = QStringLiteral(
                       "<h3>Valores de las cinco columnas de normatividad</h3>"
                       "<p>Cada ponencia nombra hasta cinco leyes, una por columna, a partir de "
                       "la primera. El texto «No aplica» y la celda vacía no nombran ninguna ley. "
                       "La tabla da, para cada ley, el número de ponencias que la nombran en cada "
                       "columna y el de ponencias que la nombran en alguna.</p>"
                       "<table width=\"100%\" cellspacing=\"0\"><tr><th>Ley o reglamento</th>"
                       "%1<th width=\"13%\">Ponencias</th></tr>")
                       .arg(places);
    const auto cells = [&](const Row& r, std::size_t first) {
        QString text;
        for (std::size_t i = first; i < first + n; ++i) {
            text += QStringLiteral("<td class=\"numero\">%1</td>").arg(Number(CountOf(r[i])));
        }
        return text;
    };
    // The laws most often named first; equally often named ones in the store's order.
    std::vector<Row> named = laws.named;
    std::stable_sort(named.begin(), named.end(), [&](const Row& a, const Row& b) {
        return CountOf(a[n + 1]) > CountOf(b[n + 1]);
    });
    for (const Row& law : named) {
        html += QStringLiteral("<tr><td>%1</td>%2<td class=\"numero\">%3</td></tr>")
                    .arg(law[0].value_or(QString()).toHtmlEscaped(), cells(law, 1),
                         Number(CountOf(law[n + 1])));
    }
    if (!laws.blanks.empty()) {
        html += QStringLiteral(
                    "<tr><td><i>No aplica</i></td>%1<td></td></tr>"
                    "<tr><td><i>(vacío)</i></td>%2<td></td></tr>"
                    "<tr><td><i>(nulo)</i></td>%3<td></td></tr>")
                    .arg(cells(laws.blanks, 0), cells(laws.blanks, n), cells(laws.blanks, 2 * n));
    }
    return html + QStringLiteral("</table>") + lawsPerProposal(laws);
}

QString TypologyValueSections::lawsPerProposal(const LawValues& laws) {
    QString html = QStringLiteral("<h3>Número de leyes por ponencia</h3>") +
                   CountTableHead(QStringLiteral("Leyes que nombra la ponencia"));
    for (const Row& r : laws.perProposal) {
        const QString count = r[0].value_or(QString());
        html += CountRow(count == QLatin1String("0") ? QStringLiteral("Ninguna") : count,
                         CountOf(r[1]), total_);
    }
    return html + QStringLiteral("</table>");
}

}  // namespace ponencias::documents
