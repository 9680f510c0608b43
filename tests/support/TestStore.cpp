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

std::vector<ProposalRow> RowsOf(const QStringList& columns,
                                const std::vector<std::vector<const char*>>& table) {
    std::vector<ProposalRow> rows;
    for (const auto& values : table) {
        ProposalRow& row = rows.emplace_back();
        for (size_t i = 0; i < values.size(); ++i) {
            if (QLatin1String(values[i]) != QLatin1String("~")) {
                row.insert(columns.at(qsizetype(i)), QString::fromUtf8(values[i]));
            }
        }
    }
    return rows;
}

QString AccessTestFilePath() {
    return AccessTestFile(QStringLiteral("DateTestDatabase.mdb"));
}

}  // namespace ponencias::test
