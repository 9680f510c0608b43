#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <stdexcept>

#include "SystemErrorText.h"

namespace ponencias {

// An output that could not be written: which one, and why. Thrown by the pieces below.
class OutputError : public std::runtime_error {
public:
    // `target` is a file's path, or kStandardOutputName.
    OutputError(const QString& target, const QString& reason);
    OutputError(const QString& target, int errorNumber);
    const QString& target() const { return target_; }
    const QString& reason() const { return reason_; }
    // "No se pudo escribir «/ruta/archivo»: No queda espacio en el dispositivo", or
    // "No se pudo escribir en la salida estándar: …".
    QString message() const;

private:
    QString target_;
    QString reason_;
};

inline constexpr const char* kStandardOutputName = "la salida estándar";

// A file written whole or not at all. The content goes to a temporary file beside `path` (same
// folder, so the final rename cannot cross file systems), either through write() or by a library
// that writes temporaryPath() itself; commit() makes it durable (fsync) and renames it onto
// `path`. Until then a file already at `path` keeps its old content; a failure, or destruction
// without commit(), removes the temporary file and leaves nothing.
//
// A `path` that names a device or a pipe (/dev/null, /dev/full, /dev/stdout on a terminal) cannot
// be replaced: the temporary file is then made in the temporary folder and commit() copies it
// onto `path` with checked writes.
//
// Every failing call throws OutputError naming `path` (never the temporary name).
class FileReplacement {
public:
    explicit FileReplacement(const QString& path);
    ~FileReplacement();
    Q_DISABLE_COPY(FileReplacement)

    const QString& path() const { return path_; }
    const QString& temporaryPath() const { return temporary_; }
    // Appends to the temporary file.
    void write(QByteArrayView bytes);
    // For a library that wrote a new file at temporaryPath() and renamed it over the old one
    // (libzip does): goes on with the new file, with the permissions the old one had.
    void reopenTemporary();
    // Puts the complete file in place. After a failure nothing is left but what was there before.
    void commit();
    // The error naming this file, for a failure found by whoever wrote temporaryPath().
    OutputError error(int errorNumber) const { return OutputError(path_, errorNumber); }

private:
    void copyOntoTarget();
    void discard() noexcept;

    QString path_;       // where the file goes (symbolic links followed)
    QString temporary_;  // where it is written
    int fd_ = -1;        // the temporary file, open for reading and writing
    bool inPlace_ = false;
};

// Writes `bytes` as the whole content of the file at `path`, through a FileReplacement.
void ReplaceFile(const QString& path, QByteArrayView bytes);

// Writes all `size` bytes to `fd`, going on after short writes and interruptions; false, with
// errno set, when a write fails.
bool WriteWhole(int fd, const char* data, size_t size);

// Writes all of `bytes` to the standard output, retrying short writes; throws OutputError naming
// kStandardOutputName. Nothing is buffered in between: what returned is with the system.
void WriteStandardOutput(QByteArrayView bytes);
// Flushes the C library's stdout and closes a copy of descriptor 1, which is where a file system
// that defers its errors (NFS) reports them; throws OutputError.
void CloseStandardOutput();

}  // namespace ponencias
