// ponencias-cli: the program's companion for scripting and checking. It shares every line of
// logic with the program: the same store, the same list queries, the same search text and the
// same export.
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CliSupport.h"
#include "Commands.h"
#include "core/ProgramStart.h"
#include "core/SystemErrorText.h"

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

// `documentos` is a program of its own beside this one, started in this one's place with the
// same arguments: it alone lays out text with real fonts, which needs Qt's display libraries,
// and every other command starts faster without them. It is found as the importer is, in the
// folder of this program's resolved link.
[[noreturn]] void StartDocumentsProgram(int& argc, char** argv) {
    const QCoreApplication app(argc, argv);
    const QString program =
        QCoreApplication::applicationDirPath() + QStringLiteral("/ponencias-documentos");
    execv(QFile::encodeName(program).constData(), argv);
    const int error = errno;
    ponencias::cli::Print(stderr, QStringLiteral("No se pudo iniciar «%1»: %2.\n")
                                      .arg(program, ponencias::SystemErrorText(error)));
    std::exit(ponencias::cli::kExitUsage);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "documentos") == 0) {
        StartDocumentsProgram(argc, argv);
    }
    const ponencias::PrivateRuntimeDirectory runtime;
    QCoreApplication app(argc, argv);
    const QStringList arguments = ponencias::cli::StartCompanion();
    const QString command = QCoreApplication::arguments().value(1);
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
    std::fputs(kUsage, command == QLatin1String("--help") ? stdout : stderr);
    return command == QLatin1String("--help") ? kExitOk : kExitUsage;
}
