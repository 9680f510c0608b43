// The Access importer is a program of its own: one that is missing, cannot be started or ends
// without an answer costs a numbered error naming it; one that hangs or crashes costs the file's
// error, never a hang of the program.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "StoreTestSupport.h"
#include "store/AccessImport.h"
#include "store/StoreError.h"
#include "support/TestStore.h"

using namespace ponencias;
using namespace ponencias::test;

namespace {

class AccessImporter : public ::testing::Test {
protected:
    void TearDown() override {
        SetAccessImporterProgram(built_);
        SetAccessImportTimeLimit(0);
    }

    // An importer at `name` in a folder of the test's own holding `content`, executable or not.
    QString Importer(const QString& name, const QByteArray& content, bool executable = true) {
        const QString path = folder_.filePath(name);
        WriteWholeFile(path, content);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner |
                                        (executable ? QFile::ExeOwner : QFile::Permissions()));
        return path;
    }

    // The error of importing the Access test file with `importer`; fails without one.
    StoreError ErrorWith(const QString& importer) {
        SetAccessImporterProgram(importer);
        try {
            ImportAccessDatabase(ReadWholeFile(AccessTestFilePath()), QStringLiteral("Datos.mdb"),
                                 QStringLiteral("PONENCIAS"));
        } catch (const StoreError& error) {
            return error;
        }
        ADD_FAILURE() << "imported with " << importer.toStdString();
        return StoreError(0, QString());
    }

    const QString built_ = AccessImporterProgram();
    QTemporaryDir folder_;
};

TEST_F(AccessImporter, MissingOrNotExecutableIsANumberedErrorNamingIt) {
    for (const QString& importer :
         {folder_.filePath(QStringLiteral("no-está")),
          Importer(QStringLiteral("sin-permiso"), "#!/bin/sh\nexit 0\n", false),
          Importer(QStringLiteral("no-es-programa"), QByteArray(100, '\x7f'))}) {
        EXPECT_EQ(ErrorWith(importer).description(),
                  QStringLiteral("No se puede leer el archivo de datos «Datos.mdb»: el lector de "
                                 "archivos de Access «%1» no se puede iniciar.")
                      .arg(importer));
    }
    const QString quiet = Importer(QStringLiteral("mudo"), "#!/bin/sh\nexit 0\n");
    const StoreError error = ErrorWith(quiet);
    EXPECT_EQ(error.number(), StoreError::ImporterUnavailable);
    EXPECT_EQ(error.description(),
              QStringLiteral("No se puede leer el archivo de datos «Datos.mdb»: el lector de "
                             "archivos de Access «%1» terminó sin responder.")
                  .arg(quiet));
}

TEST_F(AccessImporter, OneThatHangsIsKilledAtTheTimeLimitAndOneThatCrashesIsTold) {
    SetAccessImportTimeLimit(500);
    QElapsedTimer timer;
    timer.start();
    const StoreError hung =
        ErrorWith(Importer(QStringLiteral("dormido"), "#!/bin/sh\nexec sleep 60\n"));
    EXPECT_LT(timer.elapsed(), 20000);
    EXPECT_EQ(hung.number(), StoreError::CorruptFile);
    EXPECT_EQ(hung.description(), QStringLiteral("El archivo de datos «Datos.mdb» está dañado o "
                                                 "incompleto: su lectura no terminó en 0.5 "
                                                 "segundos."));
    const StoreError crashed =
        ErrorWith(Importer(QStringLiteral("roto"), "#!/bin/sh\nkill -SEGV $$\n"));
    EXPECT_EQ(crashed.number(), StoreError::CorruptFile);
    EXPECT_EQ(crashed.description(), QStringLiteral("El archivo de datos «Datos.mdb» está dañado "
                                                    "o incompleto: su lectura se interrumpió."));
}

TEST_F(AccessImporter, RunByHandItSaysWhoStartsIt) {
    QProcess process;
    process.start(built_, {});
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_EQ(process.readAllStandardError(),
              "ponencias-importar: lo inicia el almacén de Ponencias, no una persona.\n");
}

}  // namespace
