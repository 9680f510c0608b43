#include "CliSupport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include "Commands.h"
#include "core/CheckedOutput.h"
#include "core/ProgramStart.h"
#include "store/ApplicationFolder.h"
#include "store/StoreError.h"

namespace ponencias::cli {

QStringList StartCompanion() {
    QCoreApplication::setApplicationName(QStringLiteral("ponencias-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PONENCIAS_VERSION));
    InstallSpanishTranslations();
    QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1) {
        arguments[0] = QStringLiteral("ponencias-cli ") + arguments.takeAt(1);
    }
    return arguments;
}

void Print(FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

void Print(FILE* stream, const QString& text) {
    Print(stream, text.toUtf8());
}

void AddCommonOptions(QCommandLineParser& parser) {
    parser.addOption(
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Muestra esta ayuda.")});
    parser.addOption({QStringLiteral("base"),
                      QStringLiteral("Archivo de datos (Access o SQLite); por omisión, "
                                     "Ponencias.mdb en la carpeta del programa."),
                      QStringLiteral("ARCHIVO")});
}

namespace {

// Qt's help starts "Uso: " and the path the program was started by; it names the program and the
// command instead, as the user types them.
QString HelpText(const QCommandLineParser& parser, const QString& commandName) {
    QString help = parser.helpText();
    const QString startedAs = QCoreApplication::arguments().value(0);
    const qsizetype firstLineEnd = help.indexOf(QLatin1Char('\n'));
    const qsizetype at = help.indexOf(startedAs);
    if (!startedAs.isEmpty() && at >= 0 && (firstLineEnd < 0 || at < firstLineEnd)) {
        help.replace(at, startedAs.size(), commandName);
    }
    return help;
}

}  // namespace

std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments,
                                    bool takesPositional) {
    if (!parser.parse(arguments)) {
        // Qt names an unknown option without its dashes; the user typed them.
        const QStringList unknown = parser.unknownOptionNames();
        const QString error =
            unknown.isEmpty()
                ? parser.errorText()
                : QStringLiteral("Opción desconocida «%1%2».")
                      .arg(unknown[0].size() == 1 ? QStringLiteral("-") : QStringLiteral("--"),
                           unknown[0]);
        Print(stderr, error + QStringLiteral("\n\n") + HelpText(parser, arguments.value(0)));
        return kExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        return PrintResult(HelpText(parser, arguments.value(0)));
    }
    if (!takesPositional && !parser.positionalArguments().isEmpty()) {
        Print(stderr, QStringLiteral("Argumento no esperado: ") +
                          parser.positionalArguments().constFirst() + QLatin1Char('\n'));
        return kExitUsage;
    }
    return std::nullopt;
}

void UseBaseOption(const QCommandLineParser& parser) {
    if (parser.isSet(QStringLiteral("base"))) {
        SetProposalDataFile(parser.value(QStringLiteral("base")));
    }
}

int ReportStoreError(const StoreError& error) {
    Print(stderr, QStringLiteral("Error %1: %2\n").arg(error.number()).arg(error.description()));
    return kExitStoreError;
}

int ReportOutputError(const OutputError& error) {
    Print(stderr, error.message() + QLatin1Char('\n'));
    return kExitOutputError;
}

int PrintResult(const QByteArray& bytes) {
    try {
        WriteStandardOutput(bytes);
        CloseStandardOutput();
    } catch (const OutputError& error) {
        return ReportOutputError(error);
    }
    return kExitOk;
}

int PrintResult(const QString& text) {
    return PrintResult(text.toUtf8());
}

}  // namespace ponencias::cli
