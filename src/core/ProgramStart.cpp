#include "ProgramStart.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ponencias {

PrivateRuntimeDirectory::PrivateRuntimeDirectory() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        return;
    }
    directory_ = std::make_unique<QTemporaryDir>();
    if (directory_->isValid()) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(directory_->path()));
    }
}

bool InstallSpanishTranslations() {
    // The interface is Spanish whatever the locale says, so the catalogue is chosen by name.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

}  // namespace ponencias
