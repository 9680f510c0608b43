#pragma once

#include <QString>

namespace ponencias {

// The system's reason for a failed call, in Spanish words ("No queda espacio en el
// dispositivo", "Permiso denegado"); the C library's own texts are English in the C locale.
QString SystemErrorText(int errorNumber);

}  // namespace ponencias
