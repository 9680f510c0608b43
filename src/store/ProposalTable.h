#pragma once

#include <array>
#include <cstddef>

namespace ponencias {

// The table every reader queries.
inline constexpr const char* kProposalTable = "PONENCIAS";

// A column the program names, and its caption in the result sheet (UTF-8), or nullptr for the
// one column the sheet leaves out. The captions stand here, beside the names, because the result
// sheet (its workbook and CSV) and the typology document both show them, and this is the lowest
// library both reach.
struct ProposalColumn {
    const char* name;
    const char* sheetCaption;
};

// Every column the program names, in the table's own order, which is also the result sheet's
// order of the columns it shows.
inline constexpr std::array<ProposalColumn, 17> kProposalColumnTable = {{
    {"FOLIO", "FOLIO"},
    {"ID", "ID"},
    {"ESTADO", "ESTADO / PAÍS"},
    {"EDAD", "EDAD"},
    {"SEXO", "SEXO"},
    {"PERFIL_PONENTE", "PERFIL DEL PONENTE"},
    {"NUM_JORNADA", "JORNADA"},
    {"EJE_TEMATICO", "EJE TEMÁTICO"},
    {"SUBTEMA", "SUBTEMA"},
    {"CATEGORIA_SUBTEMA", "CATEGORÍA POR SUBTEMA"},
    {"TITULO", "TÍTULO"},
    {"RESUMEN", "RESUMEN"},
    {"NORMATIVIDAD_MODIFICAR_1", "NORMATIVIDAD A MODIFICAR 1"},
    {"NORMATIVIDAD_MODIFICAR_2", "NORMATIVIDAD A MODIFICAR 2"},
    {"NORMATIVIDAD_MODIFICAR_3", "NORMATIVIDAD A MODIFICAR 3"},
    {"NORMATIVIDAD_MODIFICAR_4", "NORMATIVIDAD A MODIFICAR 4"},
    // Deliberate: the search looks in the fifth law too, but the sheet never showed it.
    {"NORMATIVIDAD_MODIFICAR_5", nullptr},
}};

// The names alone, in the same order.
inline constexpr std::array<const char*, kProposalColumnTable.size()> kProposalColumns = [] {
    std::array<const char*, kProposalColumnTable.size()> names{};
    for (std::size_t i = 0; i < names.size(); ++i) {
        names[i] = kProposalColumnTable[i].name;
    }
    return names;
}();

// How many columns the result sheet shows.
inline constexpr std::size_t kSheetColumnCount = [] {
    std::size_t count = 0;
    for (const ProposalColumn& column : kProposalColumnTable) {
        count += column.sheetCaption != nullptr ? 1 : 0;
    }
    return count;
}();

}  // namespace ponencias
