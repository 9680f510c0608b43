#include "AccessImport.h"

#include <sys/wait.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <cerrno>
#include <cstdint>

#include "AccessImporterProcess.h"
#include "ImportProtocol.h"
#include "StoreError.h"
#include "core/SystemErrorText.h"

namespace ponencias {

namespace {

int g_timeLimitMs = 0;

QString& ImporterOverride() {
    static QString path;
    return path;
}

// The running program's folder: Qt's application folder, or for a program without Qt's
// application object the folder of its resolved executable.
QString RunningProgramFolder() {
    if (QCoreApplication::instance() != nullptr) {
        return QCoreApplication::applicationDirPath();
    }
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
}

StoreError CorruptError(const QString& path, const QString& why) {
    return StoreError(
        StoreError::CorruptFile,
        QStringLiteral("El archivo de datos «%1» está dañado o incompleto: %2.").arg(path, why));
}

StoreError ImporterError(const QString& path, const QString& importer, const QString& why) {
    return StoreError(StoreError::ImporterUnavailable,
                      QStringLiteral("No se puede leer el archivo de datos «%1»: el lector de "
                                     "archivos de Access «%2» %3.")
                          .arg(path, importer, why));
}

// The store's reading of what the importer did; throws when it gave no database.
AccessImport Interpret(const AccessImporterProcess::Outcome& outcome, const QString& path,
                       const QString& importer, int64_t limitMs) {
    const ImportProtocol::Reply reply = ImportProtocol::Parse(outcome.received);
    if (reply.status == ImportProtocol::Reply::NoGreeting) {
        if (outcome.timedOut) {
            throw ImporterError(
                path, importer,
                QStringLiteral("no respondió en %1 segundos").arg(limitMs / 1000.0));
        }
        throw ImporterError(path, importer, QStringLiteral("terminó sin responder"));
    }
    if (outcome.timedOut) {
        throw CorruptError(
            path, QStringLiteral("su lectura no terminó en %1 segundos").arg(limitMs / 1000.0));
    }
    if (WIFSIGNALED(outcome.status)) {
        throw CorruptError(
            path,
            QStringLiteral("su lectura se interrumpió (señal %1)").arg(WTERMSIG(outcome.status)));
    }
    const bool exited = WIFEXITED(outcome.status) && WEXITSTATUS(outcome.status) == 0;
    if (reply.status == ImportProtocol::Reply::Failed && exited) {
        throw CorruptError(path, reply.failure);
    }
    if (reply.status != ImportProtocol::Reply::Succeeded || !exited) {
        throw CorruptError(path, QStringLiteral("su lectura no llegó a término"));
    }
    return AccessImport{reply.image, reply.notes};
}

}  // namespace

QString AccessImporterProgram() {
    if (!ImporterOverride().isEmpty()) {
        return ImporterOverride();
    }
    return RunningProgramFolder() + u'/' + QLatin1String(kAccessImporterName);
}

void SetAccessImporterProgram(const QString& path) {
    ImporterOverride() = path;
}

void SetAccessImportTimeLimit(int milliseconds) {
    g_timeLimitMs = milliseconds;
}

AccessImport ImportAccessDatabase(const QByteArray& bytes, const QString& path,
                                  const QString& requiredTable) {
    // Reading a whole consultation takes well under a second; the default allows 15 seconds
    // and one more per megabyte, so a damaged file is reported before the user gives up.
    const int64_t limitMs =
        g_timeLimitMs > 0 ? g_timeLimitMs : 15000 + int64_t(bytes.size() / (1 << 20)) * 1000;
    const QString importer = AccessImporterProgram();
    const AccessImporterProcess::Outcome outcome = AccessImporterProcess::Run(
        importer, {requiredTable, QString::number((limitMs + 999) / 1000)}, bytes, limitMs);
    if (outcome.setupError != 0) {
        throw CorruptError(path, QStringLiteral("no se pudo preparar su lectura (%1)")
                                     .arg(SystemErrorText(outcome.setupError)));
    }
    if (outcome.startError != 0) {
        throw ImporterError(
            path, importer,
            QStringLiteral("no se puede iniciar (%1)").arg(SystemErrorText(outcome.startError)));
    }
    return Interpret(outcome, path, importer, limitMs);
}

}  // namespace ponencias
