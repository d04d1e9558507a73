#pragma once
// A serial server of the test's own: ser2net on a configuration it writes, each device behind
// a port of its own on 127.0.0.1, raw or Telnet with serial port control, no character delay.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QProcess>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/fakes/Spin.h"

namespace kestrova::testing {

// A port on 127.0.0.1 that nothing listens on now.
inline std::uint16_t FreePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t n = sizeof a;
    std::uint16_t port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&a), n) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &n) == 0) {
        port = ntohs(a.sin_port);
    }
    ::close(s);
    return port;
}

// Whether something listens on 127.0.0.1:port, seen without connecting.
inline bool Listening(std::uint16_t port) {
    std::ifstream tcp("/proc/net/tcp");
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", port);
    const std::string local = std::string("0100007F:") + hex;
    for (std::string line; std::getline(tcp, line);) {
        if (line.find(local) != std::string::npos && line.find(" 0A ") != std::string::npos) {
            return true;
        }
    }
    return false;
}

struct Ser2net {
    struct Port {
        bool rfc2217;
        std::string device;
    };
    static std::string program() {
        for (const char* p : {"/usr/sbin/ser2net", "/usr/bin/ser2net"}) {
            if (std::filesystem::exists(p)) {
                return p;
            }
        }
        return {};
    }

    explicit Ser2net(const std::vector<Port>& devices) {
        std::ofstream yaml(config);
        for (const Port& d : devices) {
            ports.push_back(FreePort());
            yaml << "connection: &c" << ports.back() << "\n    accepter: "
                 << (d.rfc2217 ? "telnet(rfc2217),tcp(nodelay)," : "tcp(nodelay),") << "127.0.0.1,"
                 << ports.back() << "\n    connector: serialdev," << d.device
                 << ",9600n81,local\n    options:\n      chardelay: false\n";
        }
        yaml.close();
        start();
    }
    ~Ser2net() {
        stop();
        std::filesystem::remove(config);
    }
    // False when it does not listen on every port within a few seconds.
    bool start() {
        process.start(QString::fromStdString(program()),
                      {"-n", "-u", "-c", QString::fromStdString(config)});
        return spinUntil([this] {
            for (const std::uint16_t p : ports) {
                if (!Listening(p)) {
                    return false;
                }
            }
            return true;
        });
    }
    void stop() {
        process.kill();
        process.waitForFinished();
    }

    std::string config =
        std::filesystem::temp_directory_path() / ("kestrova-ser2net-" + std::to_string(::getpid()) +
                                                  "-" + std::to_string(FreePort()) + ".yaml");
    std::vector<std::uint16_t> ports;
    QProcess process;
};

}  // namespace kestrova::testing
