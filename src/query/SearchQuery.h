#pragma once

#include <QString>

namespace ponencias {

// The all-entries: entry 0 of each filter list, meaning no restriction on that criterion.
inline const QString kTodasLasJornadas = QStringLiteral("Todas las jornadas");
inline const QString kTodasLasEntidades = QStringLiteral("Todas las entidades");
inline const QString kTodosLosEjes = QStringLiteral("Todos los ejes temáticos");
inline const QString kTodosLosSubtemas = QStringLiteral("Todos los subtemas");
inline const QString kTodasLasCategorias = QStringLiteral("Todas las categorías");
inline const QString kTodosLosPonentes = QStringLiteral("Todos los ponentes");
inline const QString kTodasLasNormatividades = QStringLiteral("Todas las normatividades");

// A drop-down list as the search reads it: the selected index (0 the all-entry, -1 none) and
// the text of the selected entry.
struct ListChoice {
    int ListIndex = 0;
    QString Text;
};

// The query window as it stands when Search starts. Default-constructed, every criterion is at
// its all-entry and the keyword is empty, so the search asks for every proposal.
struct SearchCriteria {
    ListChoice Jornada{0, kTodasLasJornadas};
    ListChoice Entidad{0, kTodasLasEntidades};
    ListChoice EjeTematico{0, kTodosLosEjes};
    QString Subtema = kTodosLosSubtemas;      // the editable combo's text
    QString Categoria = kTodasLasCategorias;  // the editable combo's text
    ListChoice Perfil{0, kTodosLosPonentes};
    ListChoice Normatividad{0, kTodasLasNormatividades};
    QString Palabra;  // the keyword box
};

// A value as it stands between the single quotes of an SQL text: every quote doubled, so a
// value holding an apostrophe is matched as written. Nothing else changes; in a LIKE pattern
// "%" and "_" keep their wildcard meaning.
QString SqlTextValue(const QString& value);

// The search's query text for one window state. Pure: the same criteria always give the same
// text.
QString BuildSearchQuery(const SearchCriteria& criteria);

}  // namespace ponencias
