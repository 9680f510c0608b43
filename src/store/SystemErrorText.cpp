#include "SystemErrorText.h"

#include <cerrno>

namespace ponencias {

QString SystemErrorText(int errorNumber) {
    const char* text = nullptr;
    switch (errorNumber) {
        case ENOSPC:
            text = "No queda espacio en el dispositivo";
            break;
        case EDQUOT:
            text = "Se ha excedido la cuota de disco";
            break;
        case EFBIG:
            text = "El archivo es demasiado grande";
            break;
        case EACCES:
            text = "Permiso denegado";
            break;
        case EPERM:
            text = "Operación no permitida";
            break;
        case EROFS:
            text = "Sistema de archivos de solo lectura";
            break;
        case ENOENT:
            text = "No existe el archivo o el directorio";
            break;
        case ENOTDIR:
            text = "No es un directorio";
            break;
        case EISDIR:
            text = "Es un directorio";
            break;
        case ENAMETOOLONG:
            text = "Nombre de archivo demasiado largo";
            break;
        case ELOOP:
            text = "Demasiados niveles de enlaces simbólicos";
            break;
        case EIO:
            text = "Error de entrada/salida";
            break;
        case EPIPE:
            text = "Tubería rota: nadie lee la salida";
            break;
        case EBADF:
            text = "La salida no está abierta";
            break;
        case EMFILE:
            text = "Demasiados archivos abiertos";
            break;
        case ENFILE:
            text = "Demasiados archivos abiertos en el sistema";
            break;
        case ENOMEM:
            text = "No hay memoria suficiente";
            break;
        case EXDEV:
            text = "El archivo temporal quedó en otro sistema de archivos";
            break;
        case EBUSY:
            text = "El dispositivo o recurso está ocupado";
            break;
        case ETXTBSY:
            text = "El archivo de texto está ocupado";
            break;
        case EEXIST:
            text = "El archivo ya existe";
            break;
        case ENXIO:
            text = "No existe el dispositivo o la dirección";
            break;
        case ENODEV:
            text = "No existe el dispositivo";
            break;
        case EAGAIN:
            text = "El recurso no está disponible por ahora";
            break;
        case EINVAL:
            text = "Argumento no válido";
            break;
        case ESTALE:
            text = "El archivo remoto ya no existe";
            break;
        default:
            return QStringLiteral("Error del sistema número %1").arg(errorNumber);
    }
    return QString::fromUtf8(text);
}

}  // namespace ponencias
