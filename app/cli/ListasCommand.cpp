// ponencias-cli listas: the query window's filter lists as the window fills them, through the
// same logic and the same list queries, with lists held in memory instead of combo boxes.
#include <QCommandLineParser>
#include <cstdio>

#include "CliSupport.h"
#include "Commands.h"
#include "query/MemoryQueryWindow.h"
#include "store/StoreError.h"

namespace ponencias::cli {

namespace {

void AppendList(QString& text, const char* name, const MemoryListControl& list) {
    text += QStringLiteral("# ") + QLatin1String(name) + QLatin1Char('\n');
    for (const QString& entry : list.Items()) {
        text += entry + QLatin1Char('\n');
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
    AddCommonOptions(parser);
    parser.addOption({QStringLiteral("eje"),
                      QStringLiteral("Elige este eje temático en EjeTemCbo."),
                      QStringLiteral("EJE")});
    parser.addOption({QStringLiteral("subtema"),
                      QStringLiteral("Elige después este subtema en SubtemaCbo (requiere --eje)."),
                      QStringLiteral("SUBTEMA")});
    if (const auto status = ParseCommandLine(parser, arguments)) {
        return *status;
    }
    if (parser.isSet(QStringLiteral("subtema")) && !parser.isSet(QStringLiteral("eje"))) {
        Print(stderr, QStringLiteral("--subtema requiere --eje: sin eje elegido SubtemaCbo no "
                                     "tiene entradas.\n"));
        return kExitUsage;
    }
    UseBaseOption(parser);

    MemoryQueryWindow window;
    try {
        window.Load();
        if (parser.isSet(QStringLiteral("eje")) &&
            !Choose(window.EjeTemCbo, parser.value(QStringLiteral("eje")))) {
            Print(stderr, QStringLiteral("El eje «%1» no está en la lista EjeTemCbo.\n")
                              .arg(parser.value(QStringLiteral("eje"))));
            return kExitUsage;
        }
        if (parser.isSet(QStringLiteral("subtema")) &&
            !Choose(window.SubtemaCbo, parser.value(QStringLiteral("subtema")))) {
            Print(stderr, QStringLiteral("El subtema «%1» no está en la lista SubtemaCbo.\n")
                              .arg(parser.value(QStringLiteral("subtema"))));
            return kExitUsage;
        }
    } catch (const StoreError& error) {
        return ReportStoreError(error);
    }

    QString text;
    AppendList(text, "JornadaCbo", window.JornadaCbo);
    AppendList(text, "EntidadCbo", window.EntidadCbo);
    AppendList(text, "EjeTemCbo", window.EjeTemCbo);
    AppendList(text, "SubtemaCbo", window.SubtemaCbo);
    AppendList(text, "CatSubTemaCbo", window.CatSubTemaCbo);
    AppendList(text, "PerfilPonCbo", window.PerfilPonCbo);
    AppendList(text, "NormatividadCbo", window.NormatividadCbo);
    return PrintResult(text);
}

}  // namespace ponencias::cli
