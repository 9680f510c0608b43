#pragma once

#include "ListControl.h"
#include "QueryFilters.h"

namespace ponencias {

// The query window's controls as lists and a text held in memory, no window around them, wired
// to the same filters as the window's combo boxes: what the companion, the benchmarks and the
// tests drive.
struct MemoryQueryControls {
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

    // What the window's loading does: every list emptied, then the five top-level lists filled.
    void Load() {
        Filters.ClearFilterLists();
        Filters.LoadFilterLists();
    }
};

}  // namespace ponencias
