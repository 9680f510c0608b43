#pragma once

// A small proposals database whose values appear nowhere in the sample: accented letters, ñ and
// an apostrophe in the listed columns, so a document that still shows the sample is caught.

#include <vector>

#include "support/TestStore.h"

namespace ponencias::test {

inline std::vector<ProposalRow> NonSampleProposals() {
    const auto row = [](const char* folio, const char* state, const char* subtopic,
                        const char* title, const char* law) {
        return ProposalRow{{"FOLIO", folio},
                           {"ID", folio},
                           {"ESTADO", QString::fromUtf8(state)},
                           {"EDAD", "47"},
                           {"SEXO", "Mujer"},
                           {"PERFIL_PONENTE", QString::fromUtf8("Cañero jubilado")},
                           {"NUM_JORNADA", "77"},
                           {"EJE_TEMATICO", QString::fromUtf8("Vía Láctea y pequeñez")},
                           {"SUBTEMA", QString::fromUtf8(subtopic)},
                           {"CATEGORIA_SUBTEMA", QString::fromUtf8("Ñandúes de l'Empordà")},
                           {"TITULO", QString::fromUtf8(title)},
                           {"RESUMEN", QString::fromUtf8("Resumen de prueba sin par.")},
                           {"NORMATIVIDAD_MODIFICAR_1", QString::fromUtf8(law)},
                           {"NORMATIVIDAD_MODIFICAR_2", "No aplica"}};
    };
    return {
        row("9001", "Ultramaría", "Pingüinos d'Aragón", "Título único de Zoë", "Ley del Ñandú"),
        row("9002", "Ultramaría", "Pingüinos d'Aragón", "Otra ponencia de Añil", "Ley del Ñandú"),
        row("9003", "Islas Ñúblicas", "Cigüeñas", "Tercera propuesta de Öland", "Código Ártico"),
    };
}

}  // namespace ponencias::test
