// ponencias-importar: reads one Access file into an SQLite image for the store, in a process of
// its own. The store starts it with the file's bytes as standard input, the table it needs and
// the seconds it may take as arguments, and reads the result on its standard output (see
// store/AccessImport.h). libmdb trusts the file's internal pointers, so a damaged file may
// crash this program or hold it in a loop; its limits make either end soon, and the store
// reports it in its own words.
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QByteArray>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "ImportReply.h"
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

bool WriteAll(int fd, const QByteArray& bytes) {
    return WriteWhole(fd, bytes.constData(), size_t(bytes.size()));
}

// The whole of standard input.
bool ReadInput(QByteArray& bytes) {
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

// Started as the store starts it: the table and the seconds, the file's bytes coming in.
bool StartedByTheStore(int argc) {
    return argc == 3 && isatty(STDIN_FILENO) == 0;
}

// The descriptor the reply goes out on: standard output as it was given. libmdb writes its
// warnings on both outputs, so from now on standard output goes nowhere. -1 on failure.
int ReplyDescriptor() {
    const int reply = dup(STDOUT_FILENO);
    const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (reply < 0 || nowhere < 0 || dup2(nowhere, STDOUT_FILENO) < 0) {
        return -1;
    }
    close(nowhere);
    return reply;
}

// An Access file is a whole number of pages (2048 bytes in Jet 3, 4096 later), at least three.
qsizetype PageSize(const QByteArray& bytes) {
    return bytes.size() > 0x14 && bytes.at(0x14) == 0 ? 2048 : 4096;
}

bool WholePages(const QByteArray& bytes) {
    return bytes.size() >= 3 * PageSize(bytes) && bytes.size() % PageSize(bytes) == 0;
}

QByteArray CutShort(const QByteArray& bytes) {
    return QStringLiteral(
               "su tamaño (%1 bytes) no es un número entero de páginas de %2 bytes; el "
               "archivo está cortado")
        .arg(bytes.size())
        .arg(PageSize(bytes))
        .toUtf8();
}

}  // namespace

int main(int argc, char** argv) {
    if (!StartedByTheStore(argc)) {
        std::fprintf(stderr,
                     "ponencias-importar: lo inicia el almacén de Ponencias, no una persona.\n");
        return 2;
    }
    const int seconds = std::max(1, std::atoi(argv[2]));
    const int reply = ReplyDescriptor();
    QByteArray bytes;
    if (reply < 0 || !ReadInput(bytes)) {
        return 3;
    }
    Limit(seconds, size_t(bytes.size()));
    const ImportReplyText result = WholePages(bytes)
                                       ? ImportReply(bytes, QString::fromUtf8(argv[1]))
                                       : ImportReplyText{false, CutShort(bytes)};
    // Ends without running destructors or leak checks: what libmdb leaves behind after a
    // damaged file is of no account now.
    _exit(!WriteAll(reply, result.output) ? 3 : result.read ? 0 : 1);
}
