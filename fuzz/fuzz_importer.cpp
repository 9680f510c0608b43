// Reads each input as an Access file the way ponencias-importar does, in this process: libmdb's
// page reader, every value's decoding and the SQLite copy, with the coverage of the importer's
// own code guiding the fuzzer (fuzz_store_open reaches the importer only across a process
// boundary). Every input must end in the importer's reply, a success or a failure in words;
// a crash, a hang or a sanitizer report is a bug.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "ImportReply.h"
#include "store/AccessImport.h"

using namespace ponencias;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy, as the importer holds the file it read from its input.
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ImportReplyText reply = ImportReply(bytes, QStringLiteral("PONENCIAS"));
    // A success must be one the store understands, a failure must say why.
    if (reply.read ? !DecodeAccessImport(reply.output).has_value() : reply.output.isEmpty()) {
        __builtin_trap();
    }
    return 0;
}
