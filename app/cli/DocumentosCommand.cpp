// ponencias-cli documentos: the application folder's documents for a data file, written by the
// same code the build runs: the whole database as a workbook, the typology of its variables and
// the glossary. For a per-user install whose data file was replaced.
#include <QCommandLineParser>
#include <QDir>

#include "CliSupport.h"
#include "Commands.h"
#include "core/CheckedOutput.h"
#include "documents/ApplicationDocuments.h"
#include "store/ApplicationFolder.h"
#include "store/StoreError.h"

namespace ponencias::cli {

int RunDocumentosCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Escribe en la carpeta indicada los documentos que acompañan al archivo de datos: "
        "Ponencias.xls (toda la base como libro), «Tipología de Variables.pdf» y «Glosario de "
        "términos.pdf». Cada documento se escribe con un nombre temporal y se pone en su lugar "
        "solo al terminarlo; si la base no es de ponencias no se escribe ninguno."));
    AddCommonOptions(parser);
    parser.addOption({QStringLiteral("carpeta"),
                      QStringLiteral("Carpeta en que se escriben los documentos."),
                      QStringLiteral("CARPETA")});
    if (const auto status = ParseCommandLine(parser, arguments)) {
        return *status;
    }
    if (!parser.isSet(QStringLiteral("carpeta"))) {
        Print(stderr, QStringLiteral("Indique la carpeta de los documentos con --carpeta.\n"));
        return kExitUsage;
    }
    UseBaseOption(parser);
    try {
        documents::WriteApplicationDocuments(ProposalDataFile(),
                                             parser.value(QStringLiteral("carpeta")));
    } catch (const StoreError& error) {
        return ReportStoreError(error);
    } catch (const OutputError& error) {
        return ReportOutputError(error);
    }
    return kExitOk;
}

}  // namespace ponencias::cli
