// ponencias-cli: the program's companion for scripting and checking. It shares every line of
// logic with the program: the same store, the same list queries, the same search text and the
// same export.
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <memory>

#include "CliSupport.h"
#include "Commands.h"
#include "core/ProgramStart.h"

namespace {
constexpr const char* kUsage =
    "Uso: ponencias-cli <orden> [opciones]\n"
    "\n"
    "Órdenes:\n"
    "  sql [--base ARCHIVO] \"SQL\"   ejecuta una sentencia y escribe el resultado como CSV\n"
    "  listas [--base ARCHIVO] [--eje EJE] [--subtema SUBTEMA]\n"
    "                              escribe las listas de filtros de la ventana de consulta\n"
    "  buscar [criterios] (--consulta | --salida ARCHIVO.xlsx | --csv ARCHIVO|-)\n"
    "                              compone la consulta de búsqueda o exporta su resultado\n"
    "  documentos [--base ARCHIVO] --carpeta CARPETA\n"
    "                              escribe Ponencias.xls y los dos documentos PDF de la base\n"
    "\n"
    "Use «ponencias-cli <orden> --help» para ver las opciones de cada orden.\n"
    "«ponencias-cli --version» muestra la versión.\n";
}  // namespace

int main(int argc, char** argv) {
    // Printing the documents lays out text with real fonts, which needs a GUI application object
    // (on the offscreen platform: the companion never opens a window); every other command,
    // the search's workbook included, is served by a plain one, which starts faster.
    const bool printsDocuments = argc > 1 && std::strcmp(argv[1], "documentos") == 0;
    if (printsDocuments && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const ponencias::PrivateRuntimeDirectory runtime;
    const std::unique_ptr<QCoreApplication> app =
        printsDocuments ? std::make_unique<QGuiApplication>(argc, argv)
                        : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ponencias-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PONENCIAS_VERSION));
    ponencias::InstallSpanishTranslations();

    QStringList arguments = QCoreApplication::arguments();
    const QString command = arguments.value(1);
    if (arguments.size() > 1) {
        // The command stands where the program's name stood: its help then reads
        // "Uso: ponencias-cli buscar [opciones]".
        arguments.removeAt(1);
        arguments[0] = QStringLiteral("ponencias-cli ") + command;
    }
    using namespace ponencias::cli;
    if (command == QLatin1String("--version")) {
        std::fputs("ponencias-cli " PONENCIAS_VERSION "\n", stdout);
        return kExitOk;
    }
    if (command == QLatin1String("sql")) {
        return RunSqlCommand(arguments);
    }
    if (command == QLatin1String("buscar")) {
        return RunBuscarCommand(arguments);
    }
    if (command == QLatin1String("listas")) {
        return RunListasCommand(arguments);
    }
    if (command == QLatin1String("documentos")) {
        return RunDocumentosCommand(arguments);
    }
    std::fputs(kUsage, command == QLatin1String("--help") ? stdout : stderr);
    return command == QLatin1String("--help") ? kExitOk : kExitUsage;
}
