#include "app/CloseSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace kestrova {

namespace {

constexpr int kCloseSignals[] = {SIGTERM, SIGINT, SIGHUP};
int writeEnd = -1;

void onCloseSignal(int signal);

// Puts `handler` in place of `was` for each of the three signals that has it. A signal the
// program was started with ignored (nohup, a background job) stays ignored.
void replaceHandler(void (*was)(int), void (*handler)(int)) {
    for (const int s : kCloseSignals) {
        struct sigaction action {};
        sigaction(s, nullptr, &action);
        if (action.sa_handler == was) {
            action.sa_handler = handler;
            action.sa_flags = SA_RESTART;
            sigemptyset(&action.sa_mask);
            sigaction(s, &action, nullptr);
        }
    }
}

// Async-signal-safe calls only.
void onCloseSignal(int signal) {
    const int saved = errno;
    replaceHandler(onCloseSignal, SIG_DFL);
    const auto number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &number, 1);
    errno = saved;
}

}  // namespace

int WatchCloseSignals() {
    static int readEnd = -1;
    if (readEnd < 0) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
            return -1;
        }
        readEnd = ends[0];
        writeEnd = ends[1];
    }
    replaceHandler(SIG_DFL, onCloseSignal);
    return readEnd;
}

int TakeCloseSignal(int fd) {
    unsigned char number = 0;
    return ::read(fd, &number, 1) == 1 ? number : 0;
}

}  // namespace kestrova
