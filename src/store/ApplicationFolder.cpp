#include "ApplicationFolder.h"

#include <QCoreApplication>

namespace ponencias {

namespace {
QString g_folder;    // named by a test; empty: the running program's
QString g_dataFile;  // named by the companion or a test; empty: the application folder's
}  // namespace

QString ApplicationFolder() {
    return g_folder.isEmpty() ? QCoreApplication::applicationDirPath() : g_folder;
}

QString ApplicationFile(const QString& name) {
    return ApplicationFolder() + u'/' + name;
}

QString ProposalDataFile() {
    return g_dataFile.isEmpty() ? ApplicationFile(QString::fromLatin1(kProposalDataFileName))
                                : g_dataFile;
}

void SetApplicationFolderForTesting(const QString& folder) {
    g_folder = folder;
}

void SetProposalDataFile(const QString& path) {
    g_dataFile = path;
}

}  // namespace ponencias
