#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "store/StoreError.h"
#include "support/Files.h"
#include "support/ParseCsv.h"

namespace ponencias::test {

// mdb-export's CSV for one table; a missing mdb-export (package mdbtools) fails the test.
inline QByteArray MdbExport(const QString& file, const QString& table) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("mdb-export"));
    if (program.isEmpty()) {
        ADD_FAILURE() << "mdb-export is not installed (package mdbtools)";
        return QByteArray();
    }
    QProcess process;
    process.start(program, {file, table});
    process.waitForFinished(30000);
    return process.readAllStandardOutput();
}

// `action` must fail with a store error of `number` whose description names each of `words`.
inline void ExpectStoreError(const std::function<void()>& action, int number,
                             const QStringList& words = {}) {
    try {
        action();
        ADD_FAILURE() << "no store error";
    } catch (const ponencias::StoreError& error) {
        EXPECT_EQ(error.number(), number);
        for (const QString& word : words) {
            EXPECT_TRUE(error.description().contains(word)) << error.description().toStdString();
        }
    }
}

}  // namespace ponencias::test
