#include "ApplicationFolder.h"

#include <QCoreApplication>

namespace ponencias {

namespace {
QString& FolderOverride() {
    static QString folder;
    return folder;
}
QString& DataFileOverride() {
    static QString path;
    return path;
}
}  // namespace

QString ApplicationFolder() {
    if (!FolderOverride().isEmpty()) {
        return FolderOverride();
    }
    return QCoreApplication::applicationDirPath();
}

QString ApplicationFile(const QString& name) {
    return ApplicationFolder() + u'/' + name;
}

QString ProposalDataFile() {
    if (!DataFileOverride().isEmpty()) {
        return DataFileOverride();
    }
    return ApplicationFile(QString::fromLatin1(kProposalDataFileName));
}

void SetApplicationFolderForTesting(const QString& folder) {
    FolderOverride() = folder;
}

void SetProposalDataFile(const QString& path) {
    DataFileOverride() = path;
}

}  // namespace ponencias
