// ponencias-cli listas: the query window's filter lists as the window fills them, through the
// same logic and the same list queries, with lists held in memory instead of combo boxes.
#include <QCommandLineParser>
#include <cstdio>

#include "CliSupport.h"
#include "Commands.h"
#include "ListCriteria.h"
#include "query/MemoryQueryControls.h"
#include "store/StoreError.h"

namespace ponencias::cli {

namespace {

// Chooses the entry the option names, as a user would, which fills the list below it; false,
// told, when the list has no such entry.
bool Choose(const QCommandLineParser& parser, MemoryQueryControls& controls, const char* option) {
    const FilterList& filter = *FilterListOf(option);
    const QString value = parser.value(QLatin1String(option));
    ListControl& list = *(controls.Filters.Controls().*filter.control);
    const std::optional<int> index = EntryIndex(list, value);
    if (!index) {
        Print(stderr, NotAnEntryMessage(filter, list, value));
        return false;
    }
    list.SetListIndex(*index);
    return true;
}

}  // namespace

int RunListasCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Escribe las listas de filtros de la ventana de consulta tal como la ventana las llena: "
        "por cada lista una línea «# » con el rótulo que la ventana le pone y después una línea "
        "por entrada, la entrada «Todos…/Todas…» primero. Subtema y Categoría por subtema no "
        "tienen entradas hasta que se elige un eje (--eje) o un subtema (--subtema)."));
    AddCommonOptions(parser);
    parser.addOption({QStringLiteral("eje"),
                      QStringLiteral("Elige esta entrada de la lista Eje temático."),
                      QStringLiteral("EJE")});
    parser.addOption({QStringLiteral("subtema"),
                      QStringLiteral("Elige después esta entrada de la lista Subtema (requiere "
                                     "--eje)."),
                      QStringLiteral("SUBTEMA")});
    if (const auto status = ParseCommandLine(parser, arguments)) {
        return *status;
    }
    if (parser.isSet(QStringLiteral("subtema")) && !parser.isSet(QStringLiteral("eje"))) {
        Print(stderr, QStringLiteral("--subtema requiere --eje: sin eje elegido la lista Subtema "
                                     "no tiene entradas.\n"));
        return kExitUsage;
    }
    UseBaseOption(parser);

    MemoryQueryControls controls;
    try {
        controls.Load();
        for (const char* option : {"eje", "subtema"}) {
            if (parser.isSet(QLatin1String(option)) && !Choose(parser, controls, option)) {
                return kExitNotAnEntry;
            }
        }
    } catch (const StoreError& error) {
        return ReportStoreError(error);
    }

    QString text;
    for (const FilterList& filter : kFilterLists) {
        text += QStringLiteral("# ") + QString::fromUtf8(filter.label) + QLatin1Char('\n');
        const ListControl& list = *(controls.Filters.Controls().*filter.control);
        for (int i = 0; i < list.ListCount(); ++i) {
            text += list.List(i) + QLatin1Char('\n');
        }
    }
    return PrintResult(text);
}

}  // namespace ponencias::cli
