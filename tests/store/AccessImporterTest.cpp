// The Access importer is a program of its own: one that is missing, cannot be started, ends
// without a word or says nothing costs a numbered error naming it, never a hang, and a damaged
// file still costs the file's error.
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
        QFile file(path);
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (executable) {
            permissions |= QFile::ExeOwner;
        }
        file.setPermissions(permissions);
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
        const StoreError error = ErrorWith(importer);
        EXPECT_EQ(error.number(), StoreError::ImporterUnavailable);
        EXPECT_TRUE(error.description().startsWith(
            QStringLiteral("No se puede leer el archivo de datos «Datos.mdb»: el lector de "
                           "archivos de Access «")));
        EXPECT_TRUE(error.description().contains(u'«' + importer +
                                                 QStringLiteral("» no se puede "
                                                                "iniciar (")))
            << error.description().toStdString();
    }
}

TEST_F(AccessImporter, OneThatEndsOrHangsWithoutAWordIsNamedToo) {
    SetAccessImportTimeLimit(500);
    const QString quiet = Importer(QStringLiteral("mudo"), "#!/bin/sh\nexit 0\n");
    EXPECT_EQ(ErrorWith(quiet).description(),
              QStringLiteral("No se puede leer el archivo de datos «Datos.mdb»: el lector de "
                             "archivos de Access «%1» terminó sin responder.")
                  .arg(quiet));
    const QString asleep = Importer(QStringLiteral("dormido"), "#!/bin/sh\nexec sleep 60\n");
    QElapsedTimer timer;
    timer.start();
    const StoreError error = ErrorWith(asleep);
    EXPECT_LT(timer.elapsed(), 20000);
    EXPECT_EQ(error.number(), StoreError::ImporterUnavailable);
    EXPECT_TRUE(error.description().endsWith(QStringLiteral("» no respondió en 0.5 segundos.")))
        << error.description().toStdString();
}

// One that greets, then lets its result pipe go and lives on, must not hold the store either.
TEST_F(AccessImporter, OneThatGreetsAndThenSaysNothingCostsTheTimeLimitOnly) {
    SetAccessImportTimeLimit(500);
    const StoreError error = ErrorWith(Importer(
        QStringLiteral("a-medias"), "#!/bin/sh\nprintf PMDB2 >&3\nexec 3>&-\nexec sleep 60\n"));
    EXPECT_EQ(error.number(), StoreError::CorruptFile);
    EXPECT_EQ(error.description(), QStringLiteral("El archivo de datos «Datos.mdb» está dañado o "
                                                  "incompleto: su lectura no terminó en 0.5 "
                                                  "segundos."));
}

TEST_F(AccessImporter, RunByHandItSaysWhoStartsIt) {
    QProcess process;
    process.start(built_, {QStringLiteral("PONENCIAS"), QStringLiteral("15")});
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_EQ(process.readAllStandardError(),
              "ponencias-importar: lo inicia el almacén de Ponencias, no una persona.\n");
}

}  // namespace
