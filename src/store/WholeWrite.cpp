#include "WholeWrite.h"

#include <unistd.h>

#include <cerrno>

namespace ponencias {

bool WriteWhole(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        data += written;
        size -= size_t(written);
    }
    return true;
}

}  // namespace ponencias
