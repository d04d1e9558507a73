// The receive link on a real pseudo-terminal through QSerialPort, with real timers.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>
#include <string>

#include "link/Dispatch.h"
#include "link/QtSerialLine.h"
#include "link/QtTimer.h"
#include "link/RxPoll.h"
#include "link/Supervision.h"
#include "tests/fakes/FakeWindow.h"
#include "tests/fakes/Pty.h"
#include "tests/fakes/RecordingDecoders.h"
#include "tests/fakes/Spin.h"

namespace kestrova::testing {
namespace {

TEST(QtSerialLine, StreamOnAPseudoTerminalReachesTheHandlersInOrder) {
    Pty pty;
    ASSERT_FALSE(pty.path.empty());
    QtSerialLine line([&](std::int16_t port) { return port == 1 ? pty.path : std::string(); });
    FakeWindow display;
    Station st(display, line);
    RecordingDecoders decoders(&st);
    Supervision* sup = nullptr;
    RxPoll* poll = nullptr;
    QtTimer Timer1(2000, [&] { sup->Timer1_Timer(); });
    QtTimer GPSTimeOut(5000, [&] { sup->GPSTimeOut_Timer(); });
    QtTimer StayAliveTmr(500, [&] { sup->StayAliveTmr_Timer(); });
    QtTimer Timer4(2, [&] { poll->Timer4_Timer(); });
    Supervision supervision(st, decoders, Timer1, GPSTimeOut);
    Dispatch dispatch(st, decoders, GPSTimeOut);
    RxPoll rx(st, dispatch, supervision);
    sup = &supervision;
    poll = &rx;

    line.setLineOptions(LineOptions{});
    line.setPortNumber(1);
    ASSERT_TRUE(line.open());
    EXPECT_GE(line.handle(), 0);
    StayAliveTmr.start();
    Timer4.start();

    const std::string stream =
        "B3068204 S42045P\r\n"
        "AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT,REL\r\n"
        "CANT UNKNOWN\r\n"
        "B3068204 S42045P\r\n"
        "D-3352123415112345\r\n";
    ASSERT_EQ(::write(pty.master, stream.data(), stream.size()),
              static_cast<ssize_t>(stream.size()));

    ASSERT_TRUE(spinUntil([&] { return decoders.calls.size() >= 5; }, 5000));
    EXPECT_EQ(decoders.names(),
              (std::vector<std::string>{"DrawLine", "ProcessStatusString", "LoadAntSettings",
                                        "DrawLine", "GPSDisplay"}));
    EXPECT_EQ(decoders.calls[2].args, "CANT UNKNOWN\r\n|ack");
    EXPECT_EQ(st.link.LinkState, 2);

    ASSERT_TRUE(spinUntil([&] { return pty.received().find('\0') != std::string::npos; }));
    EXPECT_EQ(pty.received().find_first_not_of('\0'), std::string::npos) << "only stay-alive NULs";
}

TEST(QtSerialLine, FarEndClosingClosesThePortOnceWithoutSpinning) {
    auto pty = std::make_unique<Pty>();
    const std::string path = pty->path;
    QtSerialLine line([&](std::int16_t) { return path; });
    int events = 0, losses = 0;
    line.onComm = [&] { ++events; };
    line.onLost = [&] { ++losses; };
    ASSERT_TRUE(line.open());
    ::close(pty->slave);
    pty->slave = -1;
    ::close(pty->master);
    pty->master = -1;
    ASSERT_TRUE(spinUntil([&] { return losses > 0; }));
    spinFor(200);
    EXPECT_EQ(losses, 1);
    EXPECT_EQ(events, 1);
    EXPECT_FALSE(line.isOpen());
    std::string in;
    EXPECT_FALSE(line.readInput(in));
}

// A failed open is no line event, and says why in words an operator can act on.
TEST(QtSerialLine, FailedOpensRaiseNoEventAndSayWhy) {
    Pty held;
    ASSERT_FALSE(held.path.empty());
    QtSerialLine holder([&](std::int16_t) { return held.path; });
    ASSERT_TRUE(holder.open());
    const std::string folder = ::testing::TempDir();
    const std::string plain = folder + "/kestrova-plain-file";
    std::fclose(std::fopen(plain.c_str(), "w"));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "no device for this port number"},
        {"/dev/kestrova-no-such-port", "no such device"},
        {folder, "a folder, not a serial device"},
        {plain, "not a serial device"},
        {held.path, "busy, in use by another program"},
    };
    for (const auto& [device, why] : cases) {
        SCOPED_TRACE(device);
        QtSerialLine line([&](std::int16_t) { return device; });
        int events = 0;
        line.onComm = [&] { ++events; };
        EXPECT_FALSE(line.open());
        spinFor(20);
        EXPECT_EQ(line.openFailure(), why);
        EXPECT_EQ(events, 0);
        std::string in = "kept";
        EXPECT_FALSE(line.readInput(in));
        EXPECT_FALSE(line.writeOutput(std::string_view("\0", 1)));
        EXPECT_EQ(in, "kept");
        EXPECT_EQ(line.handle(), -1);
    }
    std::remove(plain.c_str());
}

}  // namespace
}  // namespace kestrova::testing
