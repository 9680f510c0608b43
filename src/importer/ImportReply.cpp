#include "ImportReply.h"

#include <exception>
#include <new>

#include "AccessPageReader.h"
#include "store/ImportProtocol.h"

namespace ponencias {

QByteArray ImportReply(const QByteArray& bytes, const QString& requiredTable) {
    try {
        AccessPageReader reader(bytes, requiredTable);
        const QByteArray image = reader.Read();
        return ImportProtocol::Success(image, reader.notes());
    } catch (const std::bad_alloc&) {
        // The bounded address space ran out (the C++ library's own words are English).
        return ImportProtocol::Failure(
            QByteArrayLiteral("su lectura excede la memoria permitida"));
    } catch (const std::exception& failure) {
        return ImportProtocol::Failure(QByteArray(failure.what()));
    }
}

}  // namespace ponencias
