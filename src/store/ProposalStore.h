#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "Recordset.h"

namespace ponencias {

// The two program-wide slots through which every reader works. Each opening replaces what they
// held; the loading of the query window leaves the connection open, every other reader releases
// both.
extern std::unique_ptr<Connection> ProposalConnection;
extern std::unique_ptr<Recordset> ProposalRecordset;

// Fresh objects in both slots, the connection opened on the data file (worked out afresh each
// time). Throws StoreError.
void OpenProposalStore();

// Closes the recordset (if a query was opened) and the connection, then empties both slots.
// Harmless when the slots are already empty.
void ReleaseProposalStore();

// The row loop: opens the program-wide recordset with `sql` on the program-wide connection,
// calls MoveFirst at once, hands each row to `eachRow`, then closes the recordset.
void ForEachRow(const QString& sql, const std::function<void(const Recordset&)>& eachRow);

}  // namespace ponencias
