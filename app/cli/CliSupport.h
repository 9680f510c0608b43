#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <optional>

class QCommandLineParser;

namespace ponencias {
class OutputError;
class StoreError;
}  // namespace ponencias

namespace ponencias::cli {

// Names the running application the companion, with its version, and puts Qt's own texts in
// Spanish. Returns the arguments as a command takes them: the command's name (the second
// argument) folded into the program's, so that its help reads "Uso: ponencias-cli buscar
// [opciones]".
QStringList StartCompanion();

// Writes UTF-8 to a standard stream, as is, and flushes it. For messages and help; a command's
// result goes through PrintResult.
void Print(FILE* stream, const QByteArray& bytes);
void Print(FILE* stream, const QString& text);

// Adds --help and --base ARCHIVO, which every command takes.
void AddCommonOptions(QCommandLineParser& parser);
// Parses the arguments. Returns the exit status when the command must stop here: wrong usage
// (told on standard error), or --help (the help printed). Positional arguments are refused
// unless `takesPositional`.
std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments,
                                    bool takesPositional = false);
// Makes the --base file, when given, the data file the store opens.
void UseBaseOption(const QCommandLineParser& parser);

// Tells a store failure on standard error and gives the exit status for it.
int ReportStoreError(const StoreError& error);
// Tells an output failure (the file, or the standard output, and why) on standard error and gives
// the exit status for it.
int ReportOutputError(const OutputError& error);

// Writes a command's whole result to standard output and closes it, every step checked. Returns
// kExitOk, or what ReportOutputError returns.
int PrintResult(const QByteArray& bytes);
int PrintResult(const QString& text);

}  // namespace ponencias::cli
