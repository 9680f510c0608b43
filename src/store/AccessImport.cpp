#include "AccessImport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <cstdint>
#include <cstring>

#include "StoreError.h"

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

StoreError ImporterError(const QString& path, const QString& importer, const QString& why) {
    return StoreError(StoreError::ImporterUnavailable,
                      QStringLiteral("No se puede leer el archivo de datos «%1»: el lector de "
                                     "archivos de Access «%2» %3.")
                          .arg(path, importer, why));
}

}  // namespace

QByteArray EncodeAccessImport(const AccessImport& import) {
    const uint64_t size = uint64_t(import.image.size());
    return QByteArray(reinterpret_cast<const char*>(&size), sizeof size) + import.image +
           import.notes.join(u'\n').toUtf8();
}

std::optional<AccessImport> DecodeAccessImport(const QByteArray& output) {
    uint64_t size = 0;
    if (output.size() < qsizetype(sizeof size)) {
        return std::nullopt;
    }
    std::memcpy(&size, output.constData(), sizeof size);
    if (size > uint64_t(output.size()) - sizeof size) {
        return std::nullopt;
    }
    AccessImport import{output.mid(sizeof size, qsizetype(size)), {}};
    const QString notes = QString::fromUtf8(output.mid(qsizetype(sizeof size + size)));
    if (!notes.isEmpty()) {
        import.notes = notes.split(u'\n');
    }
    return import;
}

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
