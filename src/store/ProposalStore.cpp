#include "ProposalStore.h"

#include "ApplicationFolder.h"
#include "StoreError.h"

namespace ponencias {

std::unique_ptr<Connection> ProposalConnection;
std::unique_ptr<Recordset> ProposalRecordset;

QString ProposalConnectionString(const QString& dataFilePath) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") + dataFilePath;
}

void OpenProposalStore() {
    // New objects replace whatever an earlier reader left in the slots.
    ProposalConnection = std::make_unique<Connection>();
    ProposalRecordset = std::make_unique<Recordset>();
    const QString dataFile = ProposalDataFile();
    ProposalConnection->Open(ProposalConnectionString(dataFile));
    ProposalRecordset->CursorLocation = adUseClient;
}

void ReleaseProposalStore() {
    if (ProposalRecordset && ProposalRecordset->isOpen()) {
        ProposalRecordset->Close();
    }
    if (ProposalConnection) {
        ProposalConnection->Close();
    }
    ProposalConnection.reset();
    ProposalRecordset.reset();
}

void ForEachRow(const QString& sql, const std::function<void(const Recordset&)>& eachRow) {
    if (!ProposalConnection || !ProposalRecordset) {
        throw StoreError(StoreError::NotOpen,
                         QStringLiteral("No se permite la operación: el almacén de ponencias no "
                                        "está abierto (sentencia «%1»).")
                             .arg(sql.left(300)));
    }
    Recordset& rows = *ProposalRecordset;
    rows.Open(sql, *ProposalConnection, adOpenDynamic, adLockOptimistic);
    rows.MoveFirst();
    while (!rows.Bof() && !rows.Eof()) {
        eachRow(rows);
        rows.MoveNext();
    }
    rows.Close();
}

}  // namespace ponencias
