#include "ProposalStore.h"

#include "ApplicationFolder.h"
#include "StoreError.h"

namespace ponencias {

std::unique_ptr<Connection> ProposalConnection;
std::unique_ptr<Recordset> ProposalRecordset;

void OpenProposalStore() {
    // New objects replace whatever an earlier reader left in the slots.
    ProposalConnection = std::make_unique<Connection>();
    ProposalRecordset = std::make_unique<Recordset>();
    ProposalConnection->Open(ProposalDataFile());
}

void ReleaseProposalStore() {
    // Each closes as it goes: the statement first, then the connection's hold on the copy.
    ProposalRecordset.reset();
    ProposalConnection.reset();
}

void ForEachRow(const QString& sql, const std::function<void(const Recordset&)>& eachRow) {
    if (!ProposalConnection || !ProposalRecordset) {
        throw StoreError(StoreError::NotOpen,
                         QStringLiteral("No se permite la operación: el almacén de ponencias no "
                                        "está abierto (sentencia «%1»).")
                             .arg(StatementForMessage(sql)));
    }
    Recordset& rows = *ProposalRecordset;
    rows.Open(sql, *ProposalConnection);
    rows.MoveFirst();
    while (!rows.Bof() && !rows.Eof()) {
        eachRow(rows);
        rows.MoveNext();
    }
    rows.Close();
}

}  // namespace ponencias
