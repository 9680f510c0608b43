#include "QuietStandardError.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace ponencias {

QuietStandardError::QuietStandardError() {
    std::fflush(stderr);
    saved_ = ::dup(STDERR_FILENO);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved_ >= 0 && null >= 0) {
        ::dup2(null, STDERR_FILENO);
    }
    if (null >= 0) {
        ::close(null);
    }
}

QuietStandardError::~QuietStandardError() {
    const int error = errno;
    std::fflush(stderr);
    if (saved_ >= 0) {
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    errno = error;
}

}  // namespace ponencias
