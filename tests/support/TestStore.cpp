#include "TestStore.h"

#include "store/ApplicationFolder.h"

namespace ponencias::test {

QString SampleDatabasePath() {
    return QStringLiteral(PONENCIAS_APP_DIR "/") + QString::fromLatin1(kProposalDataFileName);
}

void UseSampleDatabase() {
    SetProposalDataFile(SampleDatabasePath());
}

QString AccessTestFilePath() {
    return QStringLiteral(PONENCIAS_TESTDATA_DIR "/DateTestDatabase.mdb");
}

}  // namespace ponencias::test
