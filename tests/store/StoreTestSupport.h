#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <vector>

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

inline QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace ponencias::test
