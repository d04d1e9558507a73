// Measures the program on the network: the time from the processor's write to the receive
// buffer through a real ser2net, how soon the program answers again after ser2net restarts
// (and its CPU while ser2net is down), and what happens when the far end's cable is pulled
// (a ser2net in a network namespace of its own whose link is taken down; root only).
//
//   kestrova_net_measure latency tcp|rfc2217 [PACKETS]
//   kestrova_net_measure restart [ROUNDS]
//   kestrova_net_measure cable
//
// The whole program runs in this process, on a pseudo-terminal of its own behind ser2net.

#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/KestrovaApp.h"
#include "tests/fakes/Pty.h"
#include "tests/fakes/Ser2net.h"

namespace {

using namespace kestrova;
using testing::Pty;
using testing::Ser2net;
using Moment = std::chrono::steady_clock::time_point;

const std::string kPacket = "B30682048S42045P\r\n";

double msSince(Moment t) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

double cpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

// Runs the event loop, sleeping between events, until `done` or `ms` have passed.
template <class Done>
bool runUntil(Done done, double ms) {
    // A timer of its own ends the wait: a coarse one may fire a little early.
    bool over = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, [&] { over = true; });
    deadline.start(static_cast<int>(ms));
    while (!done() && !over) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return done();
}

void runFor(double ms) {
    runUntil([] { return false; }, ms);
}

// The program in a folder of its own, started on `port`.
struct Program {
    explicit Program(const std::string& port) {
        std::ofstream(folder / "Kestrova.ini") << "RxCOMport=1\r\nCenterOnScreen=1\r\n"
                                                  "HideConfigButton=0\r\nAlwaysOnTop=0\r\n";
        std::filesystem::copy_file(folder / "Kestrova.ini", folder / "Kestrova.bak");
        app = std::make_unique<KestrovaApp>(
            AppSetup{folder.string(), folder.string(), port, {}, {}, {}, {}});
        app->start();
        app->line().onReceived = [this](std::string_view b) {
            received += b.size();
            lastRead = std::chrono::steady_clock::now();
        };
    }
    ~Program() {
        app.reset();
        std::filesystem::remove_all(folder);
    }
    std::filesystem::path folder = [] {
        std::string p = (std::filesystem::temp_directory_path() / "kestrova-net-XXXXXX").string();
        return std::filesystem::path(mkdtemp(p.data()));
    }();
    std::unique_ptr<KestrovaApp> app;
    std::size_t received = 0;
    Moment lastRead;
};

// What the program sends to the processor, as it arrives.
struct Answers {
    explicit Answers(Pty& p) : pty(p), notifier(p.master, QSocketNotifier::Read) {
        QObject::connect(&notifier, &QSocketNotifier::activated, [this] {
            const std::size_t had = pty.got.size();
            if (pty.received().size() > had) {
                last = std::chrono::steady_clock::now();
                ++arrivals;
            }
        });
    }
    Pty& pty;
    QSocketNotifier notifier;
    Moment last;
    int arrivals = 0;
};

void printSpread(const char* what, std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const auto at = [&](double q) { return v[std::min(v.size() - 1, std::size_t(q * v.size()))]; };
    std::printf("%s: %zu samples, median %.2f ms, 99th percentile %.2f ms, max %.2f ms\n", what,
                v.size(), at(0.5), at(0.99), v.back());
}

int latency(bool rfc2217, int packets) {
    Pty pty;
    Ser2net server({{rfc2217, pty.path}});
    Program p(std::string(rfc2217 ? "rfc2217" : "tcp") +
              "://127.0.0.1:" + std::to_string(server.ports[0]));
    Answers answers(pty);
    if (!runUntil([&] { return answers.arrivals > 0; }, 3000)) {
        std::printf("no connection\n");
        return 1;
    }
    std::vector<double> ms;
    for (int i = 0; i < packets; ++i) {
        const std::size_t target = p.received + kPacket.size();
        const auto sent = std::chrono::steady_clock::now();
        pty.send(kPacket);
        if (!runUntil([&] { return p.received >= target; }, 1000)) {
            std::printf("packet %d lost\n", i);
            return 1;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(p.lastRead - sent).count());
        runFor(8);  // about the line's pace
    }
    printSpread(
        rfc2217 ? "rfc2217, processor to receive buffer" : "tcp, processor to receive buffer", ms);
    return 0;
}

int restart(int rounds) {
    Pty pty;
    Ser2net server({{true, pty.path}});
    Program p("rfc2217://127.0.0.1:" + std::to_string(server.ports[0]));
    Answers answers(pty);
    QTimer stream;
    QObject::connect(&stream, &QTimer::timeout, [&] { pty.send(kPacket); });
    stream.start(10);
    runFor(2000);
    std::vector<double> back;
    for (int r = 0; r < rounds; ++r) {
        double cpu = cpuMs();
        runFor(3000);
        const double streaming = (cpuMs() - cpu) / 3;
        server.stop();
        cpu = cpuMs();
        // Down for 3 s and a part of the half second that the retries and the stay-alive
        // keep, so that the rounds do not all restart at the same moment of it.
        const double downMs = 3000 + (r * 137) % 500;
        runFor(downMs);
        const double down = (cpuMs() - cpu) / downMs * 1000;
        const auto restarted = std::chrono::steady_clock::now();
        const int before = answers.arrivals;
        server.start();
        if (!runUntil([&] { return answers.arrivals > before; }, 5000)) {
            std::printf("round %d: not answered again\n", r + 1);
            return 1;
        }
        back.push_back(std::chrono::duration<double, std::milli>(answers.last - restarted).count());
        std::printf(
            "round %d: answered %.0f ms after the restart; CPU %.2f ms/s while down, "
            "%.2f ms/s streaming (ratio %.2f)\n",
            r + 1, back.back(), down, streaming, down / streaming);
    }
    printSpread("restart to first answer", back);
    return 0;
}

// Runs a command, false when it fails.
bool run(const QStringList& command) {
    QProcess p;
    p.start(command.front(), command.mid(1));
    return p.waitForFinished() && p.exitCode() == 0;
}

// A network namespace with ser2net in it, on one end of a virtual cable whose other end is
// here: 10.213.7.2 there, 10.213.7.1 here.
struct FarEnd {
    explicit FarEnd(const std::string& device) {
        const QString ns = name, here = name + "h", there = name + "s";
        ok = run({"ip", "netns", "add", ns}) &&
             run({"ip", "link", "add", here, "type", "veth", "peer", "name", there, "netns", ns}) &&
             run({"ip", "addr", "add", "10.213.7.1/30", "dev", here}) &&
             run({"ip", "link", "set", here, "up"}) &&
             run({"ip", "netns", "exec", ns, "ip", "addr", "add", "10.213.7.2/30", "dev", there}) &&
             run({"ip", "netns", "exec", ns, "ip", "link", "set", there, "up"});
        std::ofstream(config) << "connection: &far\n    accepter: telnet(rfc2217),tcp(nodelay),"
                                 "10.213.7.2,2217\n    connector: serialdev,"
                              << device << ",9600n81,local\n    options:\n      chardelay: false\n";
        server.start("ip", {"netns", "exec", ns, QString::fromStdString(Ser2net::program()), "-n",
                            "-u", "-c", QString::fromStdString(config)});
        runFor(1000);
    }
    ~FarEnd() {
        server.kill();
        server.waitForFinished();
        run({"ip", "netns", "del", name});
        std::filesystem::remove(config);
    }
    void cable(bool in) {
        run({"ip", "netns", "exec", name, "ip", "link", "set", name + "s", in ? "up" : "down"});
    }
    QString name = QString("kst%1").arg(::getpid());
    std::string config = "/tmp/kestrova-far-" + std::to_string(::getpid()) + ".yaml";
    QProcess server;
    bool ok = false;
};

int cable() {
    if (::geteuid() != 0) {
        std::printf("cable: needs root, for a network namespace\n");
        return 77;
    }
    Pty pty;
    FarEnd far(pty.path);
    if (!far.ok) {
        std::printf("cable: cannot make the network namespace\n");
        return 1;
    }
    Program p("rfc2217://10.213.7.2:2217");
    QTimer stream;
    QObject::connect(&stream, &QTimer::timeout, [&] { pty.send(kPacket); });
    stream.start(10);
    if (!runUntil([&] { return p.app->station().link.LinkState == 2; }, 5000)) {
        std::printf("cable: no data through the far end\n");
        return 1;
    }
    runFor(2000);
    far.cable(false);
    const auto pulled = std::chrono::steady_clock::now();
    double parked = -1, lost = -1, retried = -1;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (parked < 0 && p.app->station().link.LinkState == 1) {
            parked = msSince(pulled);
        }
        const bool open = p.app->line().isOpen();
        if (lost < 0 && !open) {
            lost = msSince(pulled);
            std::printf("cable: %s\n", p.app->window().text(El::StatusDisp).c_str());
        } else if (lost >= 0 && retried < 0 && open) {
            retried = msSince(pulled);
        }
    });
    look.start(5);
    runUntil([&] { return retried >= 0 && parked >= 0; }, 15000);
    std::printf(
        "cable pulled: needle parked after %.0f ms, connection declared lost after %.0f ms "
        "and retried after %.0f ms\n",
        parked, lost, retried);
    far.cable(true);
    const auto plugged = std::chrono::steady_clock::now();
    const bool back = runUntil([&] { return p.app->station().link.LinkState == 2; }, 20000);
    std::printf("cable back: data again after %.0f ms%s\n", msSince(plugged), back ? "" : " (no)");
    return back && lost >= 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication qapp(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "latency" && argc > 2) {
        return latency(std::string(argv[2]) == "rfc2217", argc > 3 ? std::atoi(argv[3]) : 1000);
    }
    if (mode == "restart") {
        return restart(argc > 2 ? std::atoi(argv[2]) : 5);
    }
    if (mode == "cable") {
        return cable();
    }
    std::fprintf(stderr, "usage: %s latency tcp|rfc2217 [PACKETS] | restart [ROUNDS] | cable\n",
                 argv[0]);
    return 2;
}
