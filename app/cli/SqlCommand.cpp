// ponencias-cli sql [--base ARCHIVO] "SQL": one statement through the program's store, the result
// as CSV on standard output.
#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "CliSupport.h"
#include "Commands.h"
#include "export/CsvWriter.h"
#include "store/ApplicationFolder.h"
#include "store/ProposalStore.h"
#include "store/Recordset.h"
#include "store/StoreError.h"

namespace ponencias::cli {

int RunSqlCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Ejecuta una sentencia SQL sobre el almacén de ponencias, tal como lo hace el programa, y "
        "escribe el resultado como CSV (UTF-8, una línea de encabezado con los nombres de las "
        "columnas; un valor nulo queda como campo vacío)."));
    AddCommonOptions(parser);
    parser.addPositionalArgument(QStringLiteral("SQL"), QStringLiteral("La sentencia."));
    if (const auto status = ParseCommandLine(parser, arguments, true)) {
        return *status;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) {
        Print(stderr,
              QStringLiteral("Se espera exactamente una sentencia SQL.\n\n") + parser.helpText());
        return kExitUsage;
    }
    UseBaseOption(parser);

    // The whole result is in hand before anything is written, so a failing statement never
    // leaves part of an answer on standard output.
    QByteArray csv;
    QBuffer out(&csv);
    out.open(QIODevice::WriteOnly);
    CsvWriter writer(out);
    try {
        OpenProposalStore();
        Recordset& rows = *ProposalRecordset;
        rows.Open(positional.front(), *ProposalConnection);
        writer.writeRecord(rows.columnNames());
        rows.MoveFirst();
        const int columns = int(rows.columnNames().size());
        QStringList record;
        while (!rows.Bof() && !rows.Eof()) {
            record.clear();
            for (int c = 0; c < columns; ++c) {
                record << ValueText(rows.value(c));
            }
            writer.writeRecord(record);
            rows.MoveNext();
        }
        ReleaseProposalStore();
    } catch (const StoreError& error) {
        return ReportStoreError(error);
    }
    out.close();
    return PrintResult(csv);
}

}  // namespace ponencias::cli
