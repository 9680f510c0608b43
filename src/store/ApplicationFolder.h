#pragma once

#include <QString>

namespace ponencias {

// The folder that holds the program; every delivered file is found by appending "/" and its
// fixed name. Defaults to the running executable's folder.
QString ApplicationFolder();
// The application folder + "/" + name; the separator is appended unconditionally.
QString ApplicationFile(const QString& name);

// The data file the store opens: ApplicationFile("Ponencias.mdb") unless a companion tool or a
// test named another one.
QString ProposalDataFile();

// For the command-line companion and the tests only; the program itself never calls these.
void SetApplicationFolderForTesting(const QString& folder);
void SetProposalDataFile(const QString& path);  // empty: back to the application folder's

// The application folder's delivered files, by the names the program opens them by (UTF-8).
// The build names them in cmake/ApplicationFiles.cmake.
inline constexpr const char* kProposalDataFileName = "Ponencias.mdb";
inline constexpr const char* kDatabaseWorkbookFileName = "Ponencias.xls";
inline constexpr const char* kGlossaryFileName = "Glosario de términos.pdf";
inline constexpr const char* kTypologyFileName = "Tipología de Variables.pdf";

}  // namespace ponencias
