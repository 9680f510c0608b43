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
#include "store/ImportProtocol.h"

using namespace ponencias;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy, as the importer holds the file it read from its input.
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray reply = ImportReply(bytes, QStringLiteral("PONENCIAS"));
    // The reply must be one the store understands.
    const ImportProtocol::Reply parsed = ImportProtocol::Parse(ImportProtocol::Greeting() + reply);
    if (parsed.status != ImportProtocol::Reply::Succeeded &&
        parsed.status != ImportProtocol::Reply::Failed) {
        __builtin_trap();
    }
    return 0;
}
