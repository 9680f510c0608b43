#include "AccessImport.h"

#include <QCoreApplication>
#include <QProcess>
#include <cstdint>

#include "StoreError.h"

namespace ponencias {

namespace {

int g_timeLimitMs = 0;

QString g_importer;  // named by a test, benchmark or build tool; empty: the default

StoreError ImporterError(const QString& path, const QString& importer, const QString& why) {
    return StoreError(StoreError::ImporterUnavailable,
                      QStringLiteral("No se puede leer el archivo de datos «%1»: el lector de "
                                     "archivos de Access «%2» %3.")
                          .arg(path, importer, why));
}

}  // namespace

QByteArray EncodeAccessImport(const AccessImport& import) {
    return import.notes.join(u'\n').toUtf8() + '\0' + import.image;
}

std::optional<AccessImport> DecodeAccessImport(const QByteArray& output) {
    const qsizetype end = output.indexOf('\0');
    if (end < 0) {
        return std::nullopt;
    }
    AccessImport import{output.mid(end + 1), {}};
    if (end > 0) {
        import.notes = QString::fromUtf8(output.left(end)).split(u'\n');
    }
    return import;
}

QString AccessImporterProgram() {
    return g_importer.isEmpty()
               ? QCoreApplication::applicationDirPath() + u'/' + QLatin1String(kAccessImporterName)
               : g_importer;
}

void SetAccessImporterProgram(const QString& path) {
    g_importer = path;
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
    QProcess child;
    child.setStandardErrorFile(QProcess::nullDevice());
    child.start(importer, {requiredTable, QString::number((limitMs + 999) / 1000)});
    if (!child.waitForStarted(-1)) {
        throw ImporterError(path, importer, QStringLiteral("no se puede iniciar"));
    }
    child.write(bytes);
    child.closeWriteChannel();
    if (!child.waitForFinished(int(limitMs))) {
        child.kill();
        child.waitForFinished(-1);
        throw CorruptFileError(
            path, QStringLiteral("su lectura no terminó en %1 segundos").arg(limitMs / 1000.0));
    }
    const QByteArray output = child.readAllStandardOutput();
    if (child.exitStatus() == QProcess::CrashExit) {
        throw CorruptFileError(path, QStringLiteral("su lectura se interrumpió"));
    }
    if (child.exitCode() == 1 && !output.isEmpty()) {
        throw CorruptFileError(path, QString::fromUtf8(output));
    }
    std::optional<AccessImport> import = DecodeAccessImport(output);
    if (child.exitCode() != 0 || !import) {
        throw ImporterError(path, importer, QStringLiteral("terminó sin responder"));
    }
    return std::move(*import);
}

}  // namespace ponencias
