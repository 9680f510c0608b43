// Linked into the programs that run from the build tree but outside the application folder
// (tests, benchmarks, fuzz targets, the build's document tool): the store starts the importer
// this build made. The program and its companion never link it: they find the importer beside
// themselves.
#include "store/AccessImport.h"

namespace {

[[maybe_unused]] const bool registered = [] {
    ponencias::SetAccessImporterProgram(QStringLiteral(PONENCIAS_IMPORTER));
    return true;
}();

}  // namespace
