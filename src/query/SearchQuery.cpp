#include "SearchQuery.h"

#include <QStringList>

#include "export/ResultSheetLayout.h"

namespace ponencias {

namespace {

// The fields the result sheet shows, in its order, which the export reads by position.
const QString& SelectList() {
    static const QString text = [] {
        QStringList fields;
        for (const ResultColumn& column : kResultColumns) {
            fields << QLatin1String(column.field);
        }
        return QStringLiteral("SELECT ") + fields.join(QLatin1Char(',')) +
               QStringLiteral(" FROM ponencias ");
    }();
    return text;
}
const QString kOrderClause =
    QStringLiteral(" ORDER BY NUM_JORNADA, EJE_TEMATICO, SUBTEMA, CATEGORIA_SUBTEMA");

// The conditions after the first are joined with AND; which form a condition takes depends on
// how many WHERE forms were written before it, not on which criteria applied.
class WherePart {
public:
    void first(const QString& condition) {
        text_ += condition;
        whereCount_ = 1;
    }
    void add(const QString& whereForm, const QString& andForm) {
        if (whereCount_ < 1) {
            text_ += whereForm;
            ++whereCount_;
        } else {
            text_ += andForm;
        }
    }
    const QString& text() const { return text_; }

private:
    QString text_;
    int whereCount_ = 0;
};

// " WHERE COLUMN = 'value'" and " AND COLUMN = 'value'".
void addEquality(WherePart& where, const char* column, const QString& value) {
    const QString comparison =
        QLatin1String(column) + QStringLiteral(" = '") + SqlTextValue(value) + QLatin1Char('\'');
    where.add(QStringLiteral(" WHERE ") + comparison, QStringLiteral(" AND ") + comparison);
}

}  // namespace

QString SqlTextValue(const QString& value) {
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return quoted;
}

QString BuildSearchQuery(const SearchCriteria& criteria) {
    WherePart where;
    if (criteria.Jornada.ListIndex != 0) {
        where.first(QStringLiteral("WHERE NUM_JORNADA = '") + SqlTextValue(criteria.Jornada.Text) +
                    QStringLiteral("' "));
    }
    if (criteria.Entidad.ListIndex != 0) {
        addEquality(where, "ESTADO", criteria.Entidad.Text);
    }
    if (criteria.EjeTematico.ListIndex != 0) {
        addEquality(where, "EJE_TEMATICO", criteria.EjeTematico.Text);
    }
    if (criteria.Subtema != kTodosLosSubtemas) {
        addEquality(where, "SUBTEMA", criteria.Subtema);
    }
    if (criteria.Categoria != kTodasLasCategorias) {
        addEquality(where, "CATEGORIA_SUBTEMA", criteria.Categoria);
    }
    if (criteria.Perfil.ListIndex != 0) {
        addEquality(where, "PERFIL_PONENTE", criteria.Perfil.Text);
    }
    if (criteria.Normatividad.ListIndex != 0) {
        const QString value = SqlTextValue(criteria.Normatividad.Text);
        // Deliberate: the fifth law is searched although the sheet does not show it, and the
        // comparisons after the first lack the blank before "=", as users' queries always read.
        const QString comparisons = QStringLiteral("(NORMATIVIDAD_MODIFICAR_1 = '") + value +
                                    QStringLiteral("' OR NORMATIVIDAD_MODIFICAR_2 ='") + value +
                                    QStringLiteral("' OR NORMATIVIDAD_MODIFICAR_3 ='") + value +
                                    QStringLiteral("' OR NORMATIVIDAD_MODIFICAR_4 ='") + value +
                                    QStringLiteral("' OR NORMATIVIDAD_MODIFICAR_5 ='") + value +
                                    QStringLiteral("')");
        where.add(QStringLiteral(" WHERE ") + comparisons + QLatin1Char(' '),
                  QStringLiteral(" AND ") + comparisons);
    }
    if (!criteria.Palabra.isEmpty()) {
        const QString pattern = QStringLiteral("(RESUMEN like '%") +
                                SqlTextValue(criteria.Palabra) + QStringLiteral("%') ");
        where.add(QStringLiteral("WHERE ") + pattern, QStringLiteral(" AND ") + pattern);
    }
    return SelectList() + where.text() + kOrderClause;
}

}  // namespace ponencias
