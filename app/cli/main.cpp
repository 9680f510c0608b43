// ponencias-cli: the program's companion for scripting and checking. It shares every line of
// logic with the program: the same store, the same list queries, the same search text and the
// same export.
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

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
    // The workbook export measures captions with real fonts, which needs a GUI application
    // object; the companion never opens a window, so it runs on the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const ponencias::PrivateRuntimeDirectory runtime;
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("ponencias-cli"));
    QGuiApplication::setApplicationVersion(QStringLiteral(PONENCIAS_VERSION));
    ponencias::InstallSpanishTranslations();

    QStringList arguments = QGuiApplication::arguments();
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
