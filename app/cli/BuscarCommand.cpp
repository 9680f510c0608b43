// ponencias-cli buscar: the query window's search from the command line. The criteria stand for
// the texts the window's controls would show; the query text is composed by the same code as a
// click of "Buscar", and the result goes through the same export.
#include <QBuffer>
#include <QCommandLineParser>
#include <cstdio>
#include <exception>

#include "CliSupport.h"
#include "Commands.h"
#include "export/CheckedOutput.h"
#include "export/ResultFiles.h"
#include "query/SearchQuery.h"
#include "store/StoreError.h"

namespace ponencias::cli {

namespace {

// A drop-down list given a value stands on the entry with that text; its all-entry text, or no
// value at all, leaves it on its all-entry.
void ReadListChoice(const QCommandLineParser& parser, const QString& option,
                    const QString& allEntry, ListChoice& choice) {
    if (!parser.isSet(option)) {
        return;
    }
    const QString value = parser.value(option);
    choice = ListChoice{value == allEntry ? 0 : 1, value};
}

// The command's options: the seven criteria and the keyword, then where the result goes.
void AddBuscarOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Compone la consulta de la ventana de consulta y la muestra (--consulta) o exporta su "
        "resultado (--salida, --csv). Cada criterio es el texto que mostraría su control; un "
        "criterio omitido queda en su entrada «Todos…/Todas…»."));
    AddCommonOptions(parser);
    const auto option = [&](const char* name, const char* description, const char* value) {
        parser.addOption(
            {QLatin1String(name), QString::fromUtf8(description), QLatin1String(value)});
    };
    option("jornada", "Número de jornada (JornadaCbo).", "TEXTO");
    option("entidad", "País o entidad (EntidadCbo).", "TEXTO");
    option("eje", "Eje temático (EjeTemCbo).", "TEXTO");
    option("subtema", "Texto de SubtemaCbo.", "TEXTO");
    option("categoria", "Texto de CatSubTemaCbo.", "TEXTO");
    option("perfil", "Perfil del ponente (PerfilPonCbo).", "TEXTO");
    option("normatividad", "Normatividad a modificar (NormatividadCbo).", "TEXTO");
    option("palabra", "Búsqueda por palabra (BusquedaTxt).", "TEXTO");
    parser.addOption({QStringLiteral("consulta"),
                      QStringLiteral("Escribe solo el texto de la consulta y un salto de línea.")});
    option("salida", "Escribe el resultado en este libro .xlsx y el número de ponencias.",
           "ARCHIVO");
    option("csv", "Escribe el resultado como CSV en este archivo, o en la salida estándar con -.",
           "ARCHIVO");
}

// The window's state the criteria given describe.
SearchCriteria CriteriaOf(const QCommandLineParser& parser) {
    SearchCriteria criteria;
    ReadListChoice(parser, QStringLiteral("jornada"), kTodasLasJornadas, criteria.Jornada);
    ReadListChoice(parser, QStringLiteral("entidad"), kTodasLasEntidades, criteria.Entidad);
    ReadListChoice(parser, QStringLiteral("eje"), kTodosLosEjes, criteria.EjeTematico);
    if (parser.isSet(QStringLiteral("subtema"))) {
        criteria.Subtema = parser.value(QStringLiteral("subtema"));
    }
    if (parser.isSet(QStringLiteral("categoria"))) {
        criteria.Categoria = parser.value(QStringLiteral("categoria"));
    }
    ReadListChoice(parser, QStringLiteral("perfil"), kTodosLosPonentes, criteria.Perfil);
    ReadListChoice(parser, QStringLiteral("normatividad"), kTodasLasNormatividades,
                   criteria.Normatividad);
    criteria.Palabra = parser.value(QStringLiteral("palabra"));
    return criteria;
}

// Writes the result where the options say: a workbook, or CSV to a file or the standard output.
int ExportResult(const QCommandLineParser& parser, const QString& query) {
    UseBaseOption(parser);
    try {
        if (parser.isSet(QStringLiteral("salida"))) {
            const long count = WriteResultWorkbook(query, parser.value(QStringLiteral("salida")));
            return PrintResult(QString::number(count) + QLatin1Char('\n'));
        }
        // The whole CSV is made first, so a failing store leaves neither a file nor half a
        // listing on the standard output.
        QByteArray csv;
        QBuffer buffer(&csv);
        buffer.open(QIODevice::WriteOnly);
        const long count = WriteResultCsv(query, buffer);
        buffer.close();
        const QString target = parser.value(QStringLiteral("csv"));
        if (target == QLatin1String("-")) {
            return PrintResult(csv);
        }
        ReplaceFile(target, csv);
        return PrintResult(QString::number(count) + QLatin1Char('\n'));
    } catch (const StoreError& error) {
        return ReportStoreError(error);
    } catch (const OutputError& error) {
        return ReportOutputError(error);
    } catch (const std::exception& error) {
        // The spreadsheet library failed for a reason of its own: said, not a crash.
        Print(stderr, QStringLiteral("No se pudo escribir «%1»: %2\n")
                          .arg(parser.value(QStringLiteral("salida")),
                               QString::fromLocal8Bit(error.what())));
        return kExitOutputError;
    }
}

}  // namespace

int RunBuscarCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    AddBuscarOptions(parser);
    if (const auto status = ParseCommandLine(parser, arguments)) {
        return *status;
    }
    const int destinations = int(parser.isSet(QStringLiteral("consulta"))) +
                             int(parser.isSet(QStringLiteral("salida"))) +
                             int(parser.isSet(QStringLiteral("csv")));
    if (destinations != 1) {
        Print(stderr, QStringLiteral("Indique exactamente una de --consulta, --salida o --csv.\n"));
        return kExitUsage;
    }
    const QString query = BuildSearchQuery(CriteriaOf(parser));
    if (parser.isSet(QStringLiteral("consulta"))) {
        return PrintResult(query + QLatin1Char('\n'));
    }
    return ExportResult(parser, query);
}

}  // namespace ponencias::cli
