// The build's hand on the application folder's data files, one file per call so that each is
// made again only when what it derives from changes:
//
//     ponencias-build-documents --base DATOS --comprobar      checks that DATOS is a proposals
//                                                             database
//     ponencias-build-documents --base DATOS --libro ARCHIVO  the whole database as a workbook
//     ponencias-build-documents --base DATOS --tipologia ARCHIVO
//     ponencias-build-documents --glosario ARCHIVO
//
// It runs the same code as `ponencias-cli documentos`. A store failure is told in the store's
// numbered message, naming the file, and stops the build.
#include <QCommandLineParser>
#include <QGuiApplication>
#include <cstdio>
#include <optional>

#include "ApplicationDocuments.h"
#include "core/ProgramStart.h"
#include "core/CheckedOutput.h"
#include "store/StoreError.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const ponencias::PrivateRuntimeDirectory runtime;
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption base(QStringLiteral("base"), QStringLiteral("Base de ponencias."),
                                  QStringLiteral("ARCHIVO"));
    const QCommandLineOption check(QStringLiteral("comprobar"),
                                   QStringLiteral("Comprueba que la base sea de ponencias."));
    const QCommandLineOption workbook(QStringLiteral("libro"),
                                      QStringLiteral("Libro con toda la base."),
                                      QStringLiteral("ARCHIVO"));
    const QCommandLineOption typology(QStringLiteral("tipologia"),
                                      QStringLiteral("PDF de la tipología."),
                                      QStringLiteral("ARCHIVO"));
    const QCommandLineOption glossary(
        QStringLiteral("glosario"), QStringLiteral("PDF del glosario."), QStringLiteral("ARCHIVO"));
    parser.addOptions({base, check, workbook, typology, glossary});
    parser.process(app);
    const bool needsBase = parser.isSet(check) || parser.isSet(workbook) || parser.isSet(typology);
    if (needsBase != parser.isSet(base)) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 1;
    }

    using namespace ponencias;
    using namespace ponencias::documents;
    try {
        std::optional<ProposalDatabase> database;
        if (needsBase) {
            database.emplace(parser.value(base));
        }
        if (parser.isSet(workbook)) {
            WriteWorkbook(*database, parser.value(workbook));
        }
        if (parser.isSet(typology)) {
            WriteTypology(*database, parser.value(typology));
        }
        if (parser.isSet(glossary)) {
            WriteGlossary(parser.value(glossary));
        }
    } catch (const StoreError& error) {
        std::fprintf(stderr, "Error %d: %s\n", error.number(),
                     error.description().toUtf8().constData());
        return 2;
    } catch (const OutputError& error) {
        std::fprintf(stderr, "%s\n", error.message().toUtf8().constData());
        return 1;
    }
    return 0;
}
