#pragma once

#include <QStringList>
#include <vector>

#include "support/TestStore.h"

namespace ponencias::test {

// A small store that exercises every rule of the lists: empty and null values, a law named in
// several columns, "No aplica", one subtopic under two axes, an axis whose subtopics are all
// empty, an axis with the empty text and values holding apostrophes. "~" stands for null.
inline std::vector<ProposalRow> QueryRows() {
    // clang-format off
    const QStringList columns = {"FOLIO", "NUM_JORNADA", "ESTADO", "EJE_TEMATICO", "SUBTEMA",
        "CATEGORIA_SUBTEMA", "PERFIL_PONENTE", "RESUMEN", "NORMATIVIDAD_MODIFICAR_1",
        "NORMATIVIDAD_MODIFICAR_2", "NORMATIVIDAD_MODIFICAR_3", "NORMATIVIDAD_MODIFICAR_4",
        "NORMATIVIDAD_MODIFICAR_5"};
    return RowsOf(columns, {
        {"F1", "1", "Jalisco", "Procedimientos electorales", "Casillas", "Ubicación", "Ciudadano",
         "Que el voto nulo se cuente aparte", "COFIPE", "No aplica", "~", "~", "~"},
        {"F2", "2", "Oaxaca", "Participación ciudadana", "Consulta popular", "Plebiscito",
         "Académico", "Consultas vinculantes", "", "Constitución", "~", "COFIPE", "~"},
        {"F3", "1", "", "Procedimientos electorales", "", "Sin subtema", "~", "voto", "~", "~",
         "Ley de medios", "~", "~"},
        {"F4", "3", "Jalisco", "Régimen de partidos", "Casillas", "Financiamiento", "Ciudadano",
         "It's the O'Brien rule: 100% of 5_a", "~", "~", "~", "~", "Ley O'Reilly"},
        {"F5", "2", "Oaxaca", "Eje d'O'Neil", "Sub d'algo", "Cat l'été", "Académico", "nada"},
        {"F6", "3", "Oaxaca", "Sin subtemas", "", "", "Ciudadano", "nada"},
        {"F7", "3", "Oaxaca", "", "Huérfano", "Suelta", "Ciudadano", "nada"},
    });
    // clang-format on
}

// The axis list as the store orders it: letter case ignored, accents kept apart.
inline QStringList QueryRowsAxes() {
    return {"Todos los ejes temáticos",
            "",
            "Eje d'O'Neil",
            "Participación ciudadana",
            "Procedimientos electorales",
            "Régimen de partidos",
            "Sin subtemas"};
}

}  // namespace ponencias::test
