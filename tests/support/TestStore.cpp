#include "TestStore.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include "store/ApplicationFolder.h"

namespace ponencias::test {

QString SampleDatabasePath() {
    return QStringLiteral(PONENCIAS_SAMPLE_DATABASE);
}

void UseSampleDatabase() {
    SetProposalDataFile(SampleDatabasePath());
}

QString AccessTestFile(const QString& name) {
    const QString path = QStringLiteral(PONENCIAS_TESTDATA_DIR "/") + name;
    if (!QFileInfo(path).isFile()) {
        ADD_FAILURE() << "missing test data: " << path.toStdString();
    }
    return path;
}

QString AccessTestFilePath() {
    return AccessTestFile(QStringLiteral("DateTestDatabase.mdb"));
}

}  // namespace ponencias::test
