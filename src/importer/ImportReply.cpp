#include "ImportReply.h"

#include <exception>
#include <new>

#include "AccessPageReader.h"
#include "store/AccessImport.h"

namespace ponencias {

ImportReplyText ImportReply(const QByteArray& bytes, const QString& requiredTable) {
    try {
        AccessPageReader reader(bytes, requiredTable);
        const QByteArray image = reader.Read();
        return {true, EncodeAccessImport({image, reader.notes()})};
    } catch (const std::bad_alloc&) {
        // The bounded address space ran out (the C++ library's own words are English).
        return {false, QByteArrayLiteral("su lectura excede la memoria permitida")};
    } catch (const std::exception& failure) {
        return {false, QByteArray(failure.what())};
    }
}

}  // namespace ponencias
