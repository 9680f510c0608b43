#include "SystemErrorText.h"

#include <cerrno>

namespace ponencias {
namespace {

struct ErrorText {
    int errorNumber;
    const char* text;
};

// The reasons a user meets when reading the data file or writing an export; any other number is
// named by its value.
constexpr ErrorText kErrorTexts[] = {
    {ENOSPC, "No queda espacio en el dispositivo"},
    {EDQUOT, "Se ha excedido la cuota de disco"},
    {EFBIG, "El archivo es demasiado grande"},
    {EACCES, "Permiso denegado"},
    {EPERM, "Operación no permitida"},
    {EROFS, "Sistema de archivos de solo lectura"},
    {ENOENT, "No existe el archivo o el directorio"},
    {ENOTDIR, "No es un directorio"},
    {EISDIR, "Es un directorio"},
    {ENAMETOOLONG, "Nombre de archivo demasiado largo"},
    {ELOOP, "Demasiados niveles de enlaces simbólicos"},
    {EIO, "Error de entrada/salida"},
    {EPIPE, "Tubería rota: nadie lee la salida"},
    {EBADF, "La salida no está abierta"},
    {EMFILE, "Demasiados archivos abiertos"},
    {ENFILE, "Demasiados archivos abiertos en el sistema"},
    {ENOMEM, "No hay memoria suficiente"},
    {EXDEV, "El archivo temporal quedó en otro sistema de archivos"},
    {EBUSY, "El dispositivo o recurso está ocupado"},
    {ETXTBSY, "El archivo de texto está ocupado"},
    {EEXIST, "El archivo ya existe"},
    {ENXIO, "No existe el dispositivo o la dirección"},
    {ENODEV, "No existe el dispositivo"},
    {EAGAIN, "El recurso no está disponible por ahora"},
    {EINVAL, "Argumento no válido"},
    {ESTALE, "El archivo remoto ya no existe"},
};

}  // namespace

QString SystemErrorText(int errorNumber) {
    for (const ErrorText& entry : kErrorTexts) {
        if (entry.errorNumber == errorNumber) {
            return QString::fromUtf8(entry.text);
        }
    }
    return QStringLiteral("Error del sistema número %1").arg(errorNumber);
}

}  // namespace ponencias
