// The network line against a real serial server, and the share with its watchers, in this
// process: every byte both ways, the line's settings on the device, failed opens with their
// reasons, a watcher that stops reading, and a whole program watching another.
#include <gtest/gtest.h>
#include <termios.h>

#include <QListWidget>
#include <QTcpServer>

#include "net/QtNetworkLine.h"
#include "net/QtShareServer.h"
#include "net/Share.h"
#include "tests/fakes/Program.h"
#include "tests/fakes/Ser2net.h"
#include "widgets/StatusLineWidget.h"

namespace kestrova::testing {
namespace {

Endpoint at(Scheme s, std::uint16_t port) {
    return {s, "127.0.0.1", port};
}

struct Watched {
    explicit Watched(const Endpoint& e) {
        line.setEndpoint(e);
        line.onConnected = [this] { up = true; };
        line.onLost = [this] { lost = true; };
        EXPECT_TRUE(line.open());
    }
    QtNetworkLine line;
    bool up = false, lost = false;
    std::string got;
};

TEST(NetworkLine, EveryByteBothWaysAndTheDeviceAt19200UnderSerialPortControl) {
    if (Ser2net::program().empty()) {
        GTEST_SKIP() << "no ser2net";
    }
    std::string all;
    for (int b = 0; b < 512; ++b) {
        all += static_cast<char>(b);
    }
    for (const bool rfc2217 : {false, true}) {
        SCOPED_TRACE(rfc2217);
        Pty pty;
        Ser2net server({{rfc2217, pty.path}});
        Watched w(at(rfc2217 ? Scheme::Rfc2217 : Scheme::Tcp, server.ports[0]));
        ASSERT_TRUE(spinUntil([&] { return w.up; }));
        pty.send(all);
        EXPECT_TRUE(spinUntil([&] { return w.line.readInput(w.got) && w.got.size() >= 512; }));
        EXPECT_EQ(w.got, all);
        EXPECT_TRUE(w.line.writeOutput(all));
        EXPECT_TRUE(spinUntil([&] { return pty.received().size() >= 512; }));
        EXPECT_EQ(pty.got, all);
        termios t{};
        ASSERT_EQ(tcgetattr(pty.master, &t), 0);
        EXPECT_EQ(cfgetospeed(&t), rfc2217 ? B19200 : B9600) << "the server's own is 9600";
    }
}

TEST(NetworkLine, FailedOpensSayWhyAndPassNothingOn) {
    if (Ser2net::program().empty()) {
        GTEST_SKIP() << "no ser2net";
    }
    const std::string missing = "/nonexistent/kestrova-device";
    Ser2net server({{false, missing}, {true, missing}});
    // One server that is no share and one that greets as a share and then says nothing.
    QTcpServer other, mute;
    for (auto [s, says] :
         {std::pair(&other, std::string("SSH-2.0-x\r\n")), std::pair(&mute, share::Greeting(""))}) {
        ASSERT_TRUE(s->listen(QHostAddress::LocalHost));
        QObject::connect(s, &QTcpServer::newConnection, [s, says] {
            s->nextPendingConnection()->write(says.data(), static_cast<qint64>(says.size()));
        });
    }
    const std::string atOnce =
        "closed at once by the server: Device open failure: Value or file not found";
    const std::tuple<Endpoint, std::string, std::string> cases[] = {
        // where, why the line fails, what a probe says (this process's servers cannot speak
        // while a probe blocks)
        {at(Scheme::Tcp, server.ports[0]), atOnce, atOnce},
        {at(Scheme::Rfc2217, server.ports[1]), atOnce, atOnce},
        {at(Scheme::Kestrova, other.serverPort()), "not a Kestrova share", ""},
        {at(Scheme::Kestrova, mute.serverPort()), "owner gone (nothing for 3 s)", ""},
        {at(Scheme::Tcp, FreePort()), "connection refused", "connection refused"},
    };
    for (const auto& [where, why, probed] : cases) {
        SCOPED_TRACE(HostPort(where));
        EXPECT_EQ(ProbeEndpoint(where, 1000), probed);
        Watched w(where);
        EXPECT_TRUE(spinUntil([&] { return (void)w.line.readInput(w.got), w.lost; }, 5000));
        EXPECT_EQ(w.line.openFailure(), why);
        EXPECT_EQ(w.got, "");
        EXPECT_FALSE(w.line.isOpen());
        EXPECT_EQ(w.up, why.starts_with("owner")) << "only a share comes up before it goes";
    }
}

TEST(Share, WatchersGetWhatTheOwnerReadsAndOneThatStopsReadingIsDropped) {
    auto share = std::make_unique<QtShareServer>("test");
    std::vector<std::string> notices;
    share->onNotice = [&](std::string_view n) { notices.emplace_back(n); };
    const std::uint16_t port = FreePort();
    ASSERT_EQ(share->listen(at(Scheme::Kestrova, port)), "");
    Watched w(at(Scheme::Kestrova, port));
    // Another that never reads, with little room on its side.
    const int stalled = ::socket(AF_INET, SOCK_STREAM, 0);
    const int small = 2048;
    ::setsockopt(stalled, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in a{AF_INET, htons(port), {htonl(INADDR_LOOPBACK)}, {}};
    ASSERT_EQ(::connect(stalled, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_TRUE(spinUntil([&] { return w.up && share->watchers() == 2; }));

    std::string sent;
    for (int i = 0; i < 500 && share->watchers() == 2; ++i) {
        const std::string chunk = "B" + std::to_string(i) + std::string(200, '\xff') + "\r\n";
        sent += chunk;
        share->publish(chunk);
        spinFor(1);
    }
    EXPECT_EQ(share->watchers(), 1);
    EXPECT_TRUE(spinUntil([&] { return w.line.readInput(w.got) && w.got.size() >= sent.size(); }));
    EXPECT_TRUE(w.got == sent) << "the one that reads keeps up";
    EXPECT_TRUE(notices.back().ends_with(" dropped: it fell behind by more than 16 KiB."));

    share.reset();  // the owner goes
    EXPECT_TRUE(spinUntil([&] { return w.lost; }));
    EXPECT_EQ(w.line.openFailure(), "closed by the server");
    ::close(stalled);
}

TEST(Watching, AWatcherShowsWhatTheOwnerShowsSaysSoAndIsCounted) {
    Pty pty;
    ProgramFolder ownerFolder(pty.path), watcherFolder("/nonexistent/kestrova-port");
    const std::string port = std::to_string(FreePort());
    auto owner = ownerFolder.start("", port);
    auto watcher = watcherFolder.start("kestrova://127.0.0.1:" + port);
    ASSERT_TRUE(spinUntil([&] { return owner->share() && owner->share()->watchers() == 1; }));
    EXPECT_TRUE(spinUntil([&] {
        return watcher->window().text(El::StatusDisp).ends_with("> watching 127.0.0.1:" + port);
    }));
    EXPECT_EQ(owner->window().statusLine()->showMessages({})->item(0)->text().toStdString(),
              "Sharing on 127.0.0.1:" + port + ": 1 watcher");
    pty.send("AFM/S,IF 25,GND,LCL,HIGH,02,HNT,BAT,REL\r\n");
    for (int i = 0; i < 50; ++i) {
        pty.send("B30682048S42045P\r\n");
        spinFor(4);
    }
    for (const El e : {El::Banner_Op_Mode, El::Banner_IF_BW, El::DOA}) {
        EXPECT_TRUE(spinUntil([&] {
            return owner->window().text(e).size() > 1 &&
                   watcher->window().text(e) == owner->window().text(e);
        })) << owner->window().text(e);
    }
}

}  // namespace
}  // namespace kestrova::testing
