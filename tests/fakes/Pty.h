#pragma once
// A pseudo-terminal pair: the test plays the processor on the master side.

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <string>

namespace kestrova::testing {

struct Pty {
    Pty() {
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0) {
            path = name;
            fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
        }
    }
    ~Pty() { hangUp(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    bool send(const std::string& s) const {
        return ::write(master, s.data(), s.size()) == static_cast<ssize_t>(s.size());
    }
    // Everything the display has answered so far.
    const std::string& received() {
        char buf[512];
        for (ssize_t n; (n = ::read(master, buf, sizeof buf)) > 0;) {
            got.append(buf, static_cast<std::size_t>(n));
        }
        return got;
    }
    // The far end goes away.
    void hangUp() {
        for (int* fd : {&slave, &master}) {
            if (*fd >= 0) {
                ::close(*fd);
            }
            *fd = -1;
        }
    }

    int master = -1;
    int slave = -1;
    std::string path;
    std::string got;
};

}  // namespace kestrova::testing
