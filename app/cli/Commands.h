#pragma once

#include <QStringList>

namespace ponencias::cli {

// Exit statuses of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitStoreError = 2;
// A criterion for a drop-down list that is none of its entries: the window could not choose it.
inline constexpr int kExitNotAnEntry = 2;
// The output (a file, or the standard output) could not be written.
inline constexpr int kExitOutputError = 1;

// Each command parses its own arguments: `arguments` starts with the program name, followed by
// what came after the command's name.
int RunSqlCommand(const QStringList& arguments);
int RunBuscarCommand(const QStringList& arguments);
int RunListasCommand(const QStringList& arguments);
int RunDocumentosCommand(const QStringList& arguments);

}  // namespace ponencias::cli
