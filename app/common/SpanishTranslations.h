#pragma once

namespace ponencias {

// Installs Qt's own Spanish catalogue (qtbase_es from Qt's translations folder) in the running
// application, so Qt's standard texts (dialog buttons, a text box's context menu, the command
// line's help) read in Spanish like the rest of the interface, whatever the user's locale.
// Returns false, leaving Qt's English texts, when the catalogue is not installed.
bool InstallSpanishTranslations();

}  // namespace ponencias
