#include "AccessImporterProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "core/CheckedOutput.h"

extern char** environ;

namespace ponencias {

namespace {

// The descriptor the importer writes its result on.
constexpr int kResultDescriptor = 3;

int64_t NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// A file in memory holding `bytes`, read from its start; -1 with errno set on failure.
int MemoryFileWith(const QByteArray& bytes) {
    const int fd = memfd_create("ponencias-importar", MFD_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    if (!WriteWhole(fd, bytes.constData(), size_t(bytes.size()))) {
        const int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    if (lseek(fd, 0, SEEK_SET) != 0) {
        const int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

// Starts `program` with `input` as its standard input and `output` as its descriptor 3, every
// other descriptor closed and every signal at its default; its pid, or 0 with `error` set.
pid_t Start(const QString& program, const QStringList& arguments, int input, int output,
            int& error) {
    const QByteArray path = program.toLocal8Bit();
    std::vector<QByteArray> texts{path};
    for (const QString& argument : arguments) {
        texts.push_back(argument.toUtf8());
    }
    std::vector<char*> argv;
    for (QByteArray& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output, kResultDescriptor);
    posix_spawn_file_actions_addclosefrom_np(&actions, kResultDescriptor + 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t child = 0;
    error = posix_spawn(&child, path.constData(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? child : 0;
}

// Everything `fd` gives until it ends or the deadline passes (then `timedOut`).
QByteArray Collect(int fd, int64_t deadline, bool& timedOut) {
    QByteArray received;
    char buffer[65536];
    for (;;) {
        const int64_t left = deadline - NowMs();
        if (left <= 0) {
            timedOut = true;
            return received;
        }
        pollfd poller{fd, POLLIN, 0};
        const int ready = poll(&poller, 1, int(std::min<int64_t>(left, 1000)));
        if (ready < 0 && errno != EINTR) {
            return received;
        }
        if (ready <= 0) {
            continue;
        }
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return received;
        }
        received.append(buffer, qsizetype(got));
    }
}

// Waits for the child to end; past the deadline it is killed first. (Its result pipe may end
// before it does: an importer that closes it and goes on must not hold the store.)
void Reap(pid_t child, int64_t deadline, AccessImporterProcess::Outcome& outcome) {
    const int process = int(syscall(SYS_pidfd_open, child, 0));
    for (;;) {
        const pid_t done = waitpid(child, &outcome.status, WNOHANG);
        if (done == child || (done < 0 && errno != EINTR)) {
            break;
        }
        const int64_t left = deadline - NowMs();
        if (left <= 0) {
            outcome.timedOut = true;
            kill(child, SIGKILL);
            while (waitpid(child, &outcome.status, 0) < 0 && errno == EINTR) {
            }
            break;
        }
        if (process >= 0) {
            pollfd poller{process, POLLIN, 0};
            poll(&poller, 1, int(std::min<int64_t>(left, 1000)));
        } else {
            usleep(1000);
        }
    }
    if (process >= 0) {
        close(process);
    }
}

}  // namespace

AccessImporterProcess::Outcome AccessImporterProcess::Run(const QString& program,
                                                          const QStringList& arguments,
                                                          const QByteArray& input,
                                                          int64_t limitMs) {
    Outcome outcome;
    const int memory = MemoryFileWith(input);
    if (memory < 0) {
        outcome.setupError = errno;
        return outcome;
    }
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        outcome.setupError = errno;
        close(memory);
        return outcome;
    }
    const int64_t deadline = NowMs() + limitMs;
    const pid_t child = Start(program, arguments, memory, fds[1], outcome.startError);
    close(memory);
    close(fds[1]);
    if (child == 0) {
        close(fds[0]);
        return outcome;
    }
    outcome.received = Collect(fds[0], deadline, outcome.timedOut);
    close(fds[0]);
    Reap(child, outcome.timedOut ? 0 : deadline, outcome);
    return outcome;
}

}  // namespace ponencias
