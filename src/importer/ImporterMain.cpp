// ponencias-importar: reads one Access file into an SQLite image for the store, in a process of
// its own. The store starts it with the file's bytes as standard input, the table it needs and
// the seconds it may take as arguments, and reads the result on descriptor 3 (see
// store/ImportProtocol.h). libmdb trusts the file's internal pointers, so a damaged file may
// crash this program or hold it in a loop; its limits make either end soon, and the store
// reports it in its own words.
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "ImportReply.h"
#include "store/ImportProtocol.h"
#include "core/CheckedOutput.h"

#if defined(__SANITIZE_ADDRESS__)
#define PONENCIAS_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PONENCIAS_UNDER_ASAN 1
#endif
#endif

using namespace ponencias;

namespace {

constexpr int kResultDescriptor = 3;

bool WriteAll(int fd, const QByteArray& bytes) {
    return WriteWhole(fd, bytes.constData(), size_t(bytes.size()));
}

// The whole of standard input, which the store makes a file in memory.
bool ReadInput(QByteArray& bytes) {
    struct stat status {};
    if (fstat(STDIN_FILENO, &status) != 0) {
        return false;
    }
    bytes.reserve(qsizetype(status.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        bytes.append(buffer, qsizetype(got));
    }
}

// The bounds of one reading: it dies with the store, spends at most `seconds` of processor
// time and, but under the address sanitizer (which reserves terabytes of address space), at
// most 1 GiB and 32 times the file of memory. Damaged pointers can make libmdb ask for ever
// larger buffers; with its address space bounded the reading fails at once instead of
// thrashing until the time limit.
void Limit(int seconds, size_t fileSize) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    signal(SIGPIPE, SIG_DFL);
    rlimit cpu{rlim_t(seconds), rlim_t(seconds) + 1};
    setrlimit(RLIMIT_CPU, &cpu);
    alarm(unsigned(seconds) + 2);
#if !defined(PONENCIAS_UNDER_ASAN)
    const rlim_t memory = (rlim_t(1) << 30) + rlim_t(fileSize) * 32;
    rlimit space{memory, memory};
    setrlimit(RLIMIT_AS, &space);
#else
    (void)fileSize;
#endif
}

// Started as the store starts it: the file in memory as standard input, the result pipe open.
bool StartedByTheStore(int argc) {
    struct stat input {};
    return argc == 3 && fstat(STDIN_FILENO, &input) == 0 && S_ISREG(input.st_mode) &&
           fcntl(kResultDescriptor, F_GETFD) >= 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (!StartedByTheStore(argc)) {
        std::fprintf(stderr,
                     "ponencias-importar: lo inicia el almacén de Ponencias, no una persona.\n");
        return 2;
    }
    const int seconds = std::max(1, std::atoi(argv[2]));
    if (!WriteAll(kResultDescriptor, ImportProtocol::Greeting())) {
        return 3;
    }
    QByteArray bytes;
    if (!ReadInput(bytes)) {
        return 3;
    }
    Limit(seconds, size_t(bytes.size()));
    const QByteArray result = ImportReply(bytes, QString::fromUtf8(argv[1]));
    // Ends without running destructors or leak checks: what libmdb leaves behind after a
    // damaged file is of no account now.
    _exit(WriteAll(kResultDescriptor, result) ? 0 : 3);
}
