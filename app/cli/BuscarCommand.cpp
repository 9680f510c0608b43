// ponencias-cli buscar: the query window's search from the command line. The criteria stand for
// the texts the window's controls would show; the query text is composed by the same code as a
// click of "Buscar", and the result goes through the same export.
#include <QBuffer>
#include <QCommandLineParser>
#include <cstdio>
#include <exception>
#include <iterator>
#include <optional>

#include "CliSupport.h"
#include "Commands.h"
#include "ListCriteria.h"
#include "core/CheckedOutput.h"
#include "export/NamedFileExport.h"
#include "query/MemoryQueryControls.h"
#include "query/SearchQuery.h"
#include "store/StoreError.h"

namespace ponencias::cli {

namespace {

// The command's options: the seven criteria and the keyword, then where the result goes.
void AddBuscarOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Compone la consulta de la ventana de consulta y la muestra (--consulta) o exporta su "
        "resultado (--salida, --csv). El criterio de una lista desplegable es una de sus "
        "entradas, tal como las escribe «ponencias-cli listas»; Subtema y Categoría por subtema "
        "admiten cualquier texto, como en la ventana. Un criterio omitido queda en la entrada "
        "«Todos…/Todas…» de su lista."));
    AddCommonOptions(parser);
    const auto option = [&](const char* name, const QString& description, const char* value) {
        parser.addOption({QLatin1String(name), description, QLatin1String(value)});
    };
    for (const FilterList& filter : kFilterLists) {
        option(filter.option,
               QString::fromUtf8(filter.label) +
                   (filter.editable ? QStringLiteral(": cualquier texto.")
                                    : QStringLiteral(": una entrada de su lista.")),
               "TEXTO");
    }
    option("palabra",
           QString::fromUtf8(kKeywordLabel) + QStringLiteral(": se busca en los resúmenes."),
           "TEXTO");
    parser.addOption({QStringLiteral("consulta"),
                      QStringLiteral("Escribe solo el texto de la consulta y un salto de línea.")});
    option("salida",
           QStringLiteral("Escribe el resultado en este libro .xlsx y el número de ponencias."),
           "ARCHIVO");
    option("csv",
           QStringLiteral(
               "Escribe el resultado como CSV en este archivo, o en la salida estándar con -."),
           "ARCHIVO");
}

// The window's state the criteria given describe. A list's criterion is looked for among the
// entries the window would offer, filled by the window's own code; one that is none of them is
// refused, as the window could not have chosen it.
std::optional<int> ReadCriteria(const QCommandLineParser& parser, SearchCriteria& criteria) {
    const auto isSet = [&](const FilterList& filter) {
        return parser.isSet(QLatin1String(filter.option));
    };
    const auto value = [&](const FilterList& filter) {
        return parser.value(QLatin1String(filter.option));
    };
    ListChoice* const choices[] = {
        &criteria.Jornada, &criteria.Entidad, &criteria.EjeTematico, nullptr,
        nullptr,           &criteria.Perfil,  &criteria.Normatividad};
    QString* const texts[] = {nullptr, nullptr, nullptr, &criteria.Subtema, &criteria.Categoria,
                              nullptr, nullptr};
    static_assert(std::size(choices) == std::size(kFilterLists));
    MemoryQueryControls controls;
    bool loaded = false;
    for (size_t i = 0; i < std::size(kFilterLists); ++i) {
        const FilterList& filter = kFilterLists[i];
        if (!isSet(filter)) {
            continue;
        }
        if (filter.editable) {
            *texts[i] = value(filter);
            continue;
        }
        if (!loaded) {
            UseBaseOption(parser);
            try {
                controls.Load();
            } catch (const StoreError& error) {
                return ReportStoreError(error);
            }
            loaded = true;
        }
        ListControl& list = *(controls.Filters.Controls().*filter.control);
        const std::optional<int> index = EntryIndex(list, value(filter));
        if (!index) {
            Print(stderr, NotAnEntryMessage(filter, list, value(filter)));
            return kExitNotAnEntry;
        }
        *choices[i] = ListChoice{*index, value(filter)};
    }
    criteria.Palabra = parser.value(QStringLiteral("palabra"));
    return std::nullopt;
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
    SearchCriteria criteria;
    if (const auto status = ReadCriteria(parser, criteria)) {
        return *status;
    }
    const QString query = BuildSearchQuery(criteria);
    if (parser.isSet(QStringLiteral("consulta"))) {
        return PrintResult(query + QLatin1Char('\n'));
    }
    return ExportResult(parser, query);
}

}  // namespace ponencias::cli
