#pragma once

#include "ListControl.h"
#include "QueryFilters.h"

namespace ponencias {

// The query window's filters held in memory, wired to the same logic as the window: what the
// companion, the benchmarks and the tests drive instead of combo boxes.
struct MemoryQueryWindow {
    MemoryListControl JornadaCbo;
    MemoryListControl EntidadCbo;
    MemoryListControl EjeTemCbo;
    MemoryListControl SubtemaCbo{true};
    MemoryListControl CatSubTemaCbo{true};
    MemoryListControl PerfilPonCbo;
    MemoryListControl NormatividadCbo;
    MemoryTextControl BusquedaTxt;
    QueryFilters Filters{{&JornadaCbo, &EntidadCbo, &EjeTemCbo, &SubtemaCbo, &CatSubTemaCbo,
                          &PerfilPonCbo, &NormatividadCbo, &BusquedaTxt}};

    // The window's loading: every list emptied, then the five top-level lists filled.
    void Load() {
        Filters.ClearFilterLists();
        Filters.LoadFilterLists();
    }
};

}  // namespace ponencias
