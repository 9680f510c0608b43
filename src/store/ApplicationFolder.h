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

inline constexpr const char* kProposalDataFileName = "Ponencias.mdb";

}  // namespace ponencias
