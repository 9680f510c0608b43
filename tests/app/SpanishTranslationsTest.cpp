// Qt's own texts in Spanish: in the program's dialogs and text boxes once the catalogue is
// installed, and in the companion's help; the companion's version, and its documents program.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <memory>

#include "core/ProgramStart.h"
#include "hardening/CliRunner.h"

namespace ponencias {
namespace {

using test::CliResult;
using test::RunCli;

QStringList ActionTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions()) {
        if (!action->isSeparator()) {
            texts << action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
        }
    }
    return texts;
}

TEST(SpanishTranslations, StandardButtonsAndTextBoxMenuReadInSpanish) {
    // The test machine has the catalogue: a missing one is a fault here, not a reason to skip.
    ASSERT_TRUE(InstallSpanishTranslations())
        << "qtbase_es.qm not found in Qt's translations folder (Debian qt6-translations-l10n)";

    QMessageBox box(QMessageBox::Information, QStringLiteral("Ponencias"), QStringLiteral("x"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QStringLiteral("Aceptar"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Cancelar"));

    QLineEdit edit(QStringLiteral("texto"));
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    const QStringList texts = ActionTexts(*menu);
    for (const char* expected : {"Deshacer", "Copiar", "Pegar"}) {
        EXPECT_TRUE(texts.contains(QString::fromUtf8(expected)))
            << expected << " missing from: " << texts.join(QStringLiteral(", ")).toStdString();
    }
}

TEST(CompanionStart, EveryCommandsHelpIsSpanishAndTheVersionIsTheProjects) {
    for (const char* command : {"sql", "listas", "buscar", "documentos"}) {
        const CliResult run = RunCli({QString::fromUtf8(command), QStringLiteral("--help")});
        EXPECT_EQ(run.exitCode, 0) << command;
        // The program's name and the command, not the path it was started by.
        EXPECT_TRUE(run.out.startsWith("Uso: ponencias-cli " + QByteArray(command) + " [opciones]"))
            << run.out.toStdString();
        EXPECT_TRUE(run.out.contains("\nOpciones:\n")) << run.out.toStdString();
        EXPECT_FALSE(run.out.contains("Usage:")) << command;
        EXPECT_FALSE(run.out.contains("Options:")) << command;
    }
    // Qt's own complaints are Spanish too; an unknown option is named as the user typed it.
    const CliResult wrong = RunCli({QStringLiteral("buscar"), QStringLiteral("--nada")});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_TRUE(wrong.err.contains("Opción desconocida «--nada».")) << wrong.err.toStdString();
    const CliResult missing = RunCli({QStringLiteral("buscar"), QStringLiteral("--eje")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("Falta valor tras «--eje».")) << missing.err.toStdString();

    // The version is the program's name and the project's version.
    const CliResult version = RunCli({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QByteArray("ponencias-cli " PONENCIAS_VERSION "\n"));
    EXPECT_TRUE(
        QStringLiteral(PONENCIAS_VERSION).contains(QRegularExpression("^\\d+\\.\\d+\\.\\d+$")));
}

// `documentos` is the program beside the companion: a companion copied without it says so,
// naming the program it looked for, and writes nothing; its other commands still run.
TEST(CompanionStart, DocumentsWithoutTheirProgramAreAnErrorNamingIt) {
    QTemporaryDir folder;
    const QString companion = folder.filePath(QStringLiteral("ponencias-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PONENCIAS_CLI), companion));
    const QString documents = folder.filePath(QStringLiteral("documentos"));
    ASSERT_TRUE(QDir().mkpath(documents));
    QProcess run;
    run.start(companion, {QStringLiteral("documentos"), QStringLiteral("--carpeta"), documents});
    ASSERT_TRUE(run.waitForFinished());
    EXPECT_EQ(run.exitCode(), 1);
    const QString expected = QStringLiteral("No se pudo iniciar «%1»: ")
                                 .arg(folder.filePath(QStringLiteral("ponencias-documentos")));
    EXPECT_TRUE(QString::fromUtf8(run.readAllStandardError()).startsWith(expected));
    EXPECT_TRUE(QDir(documents).isEmpty());

    run.start(companion, {QStringLiteral("buscar"), QStringLiteral("--consulta")});
    ASSERT_TRUE(run.waitForFinished());
    EXPECT_EQ(run.exitCode(), 0);
    EXPECT_TRUE(run.readAllStandardOutput().startsWith("SELECT "));
}

}  // namespace
}  // namespace ponencias
