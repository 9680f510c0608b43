#pragma once

#include <array>

namespace ponencias {

// The table every reader queries.
inline constexpr const char* kProposalTable = "PONENCIAS";

// Every column the program names, in the table's own order.
inline constexpr std::array<const char*, 17> kProposalColumns = {
    "FOLIO",
    "ID",
    "ESTADO",
    "EDAD",
    "SEXO",
    "PERFIL_PONENTE",
    "NUM_JORNADA",
    "EJE_TEMATICO",
    "SUBTEMA",
    "CATEGORIA_SUBTEMA",
    "TITULO",
    "RESUMEN",
    "NORMATIVIDAD_MODIFICAR_1",
    "NORMATIVIDAD_MODIFICAR_2",
    "NORMATIVIDAD_MODIFICAR_3",
    "NORMATIVIDAD_MODIFICAR_4",
    "NORMATIVIDAD_MODIFICAR_5",
};

}  // namespace ponencias
