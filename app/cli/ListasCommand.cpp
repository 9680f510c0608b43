// ponencias-cli listas: the query window's filter lists as the window fills them, through the
// same logic and the same list queries, with lists held in memory instead of combo boxes.
#include <QCommandLineParser>
#include <cstdio>

#include "Commands.h"
#include "query/QueryFilters.h"
#include "store/ApplicationFolder.h"
#include "store/StoreError.h"

namespace ponencias::cli {

namespace {

void Print(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

void PrintList(const char* name, const MemoryListControl& list) {
    Print(stdout, QStringLiteral("# ") + QLatin1String(name) + QLatin1Char('\n'));
    for (const QString& entry : list.Items()) {
        Print(stdout, entry + QLatin1Char('\n'));
    }
}

// Chooses the entry with exactly this text, as a user would; false when the list has none.
bool Choose(ListControl& list, const QString& text) {
    for (int i = 0; i < list.ListCount(); ++i) {
        if (list.List(i) == text) {
            list.SetListIndex(i);
            return true;
        }
    }
    return false;
}

}  // namespace

int RunListasCommand(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Escribe las listas de filtros de la ventana de consulta tal como la ventana las llena: "
        "por cada lista una línea «# NombreDelControl» y después una línea por entrada, la "
        "entrada «Todos…/Todas…» primero. SubtemaCbo y CatSubTemaCbo no tienen entradas hasta "
        "que se elige un eje (--eje) o un subtema (--subtema)."));
    parser.addHelpOption();
    parser.addOption(
        {QStringLiteral("base"),
         QStringLiteral("Archivo de datos (por omisión, Ponencias.mdb junto al programa)."),
         QStringLiteral("ARCHIVO")});
    parser.addOption({QStringLiteral("eje"),
                      QStringLiteral("Elige este eje temático en EjeTemCbo."),
                      QStringLiteral("EJE")});
    parser.addOption({QStringLiteral("subtema"),
                      QStringLiteral("Elige después este subtema en SubtemaCbo (requiere --eje)."),
                      QStringLiteral("SUBTEMA")});
    if (!parser.parse(arguments)) {
        Print(stderr, parser.errorText() + QLatin1Char('\n'));
        return kExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        Print(stdout, parser.helpText());
        return kExitOk;
    }
    if (!parser.positionalArguments().isEmpty()) {
        Print(stderr, QStringLiteral("Argumento no esperado: ") +
                          parser.positionalArguments().constFirst() + QLatin1Char('\n'));
        return kExitUsage;
    }
    if (parser.isSet(QStringLiteral("subtema")) && !parser.isSet(QStringLiteral("eje"))) {
        Print(stderr, QStringLiteral("--subtema requiere --eje: sin eje elegido SubtemaCbo no "
                                     "tiene entradas.\n"));
        return kExitUsage;
    }
    if (parser.isSet(QStringLiteral("base"))) {
        SetProposalDataFile(parser.value(QStringLiteral("base")));
    }

    MemoryListControl jornada, entidad, eje, perfil, normatividad;
    MemoryListControl subtema(true), categoria(true);
    MemoryTextControl palabra;
    QueryFilters filters(
        {&jornada, &entidad, &eje, &subtema, &categoria, &perfil, &normatividad, &palabra});
    try {
        filters.ClearFilterLists();
        filters.LoadFilterLists();
        if (parser.isSet(QStringLiteral("eje")) &&
            !Choose(eje, parser.value(QStringLiteral("eje")))) {
            Print(stderr, QStringLiteral("El eje «%1» no está en la lista EjeTemCbo.\n")
                              .arg(parser.value(QStringLiteral("eje"))));
            return kExitUsage;
        }
        if (parser.isSet(QStringLiteral("subtema")) &&
            !Choose(subtema, parser.value(QStringLiteral("subtema")))) {
            Print(stderr, QStringLiteral("El subtema «%1» no está en la lista SubtemaCbo.\n")
                              .arg(parser.value(QStringLiteral("subtema"))));
            return kExitUsage;
        }
    } catch (const StoreError& error) {
        Print(stderr,
              QStringLiteral("Error %1: %2\n").arg(error.number()).arg(error.description()));
        return kExitStoreError;
    }

    PrintList("JornadaCbo", jornada);
    PrintList("EntidadCbo", entidad);
    PrintList("EjeTemCbo", eje);
    PrintList("SubtemaCbo", subtema);
    PrintList("CatSubTemaCbo", categoria);
    PrintList("PerfilPonCbo", perfil);
    PrintList("NormatividadCbo", normatividad);
    return kExitOk;
}

}  // namespace ponencias::cli
