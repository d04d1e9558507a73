// QSerialPort on a real pseudo-terminal: losing the far end, and opens that fail. The stream
// itself is carried end to end by the live tests.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "link/QtSerialLine.h"
#include "tests/fakes/Pty.h"
#include "tests/fakes/Spin.h"

namespace kestrova::testing {
namespace {

TEST(QtSerialLine, FarEndClosingClosesThePortOnceWithoutSpinning) {
    Pty pty;
    QtSerialLine line([&](std::int16_t) { return pty.path; });
    int events = 0, losses = 0;
    line.onComm = [&] { ++events; };
    line.onLost = [&] { ++losses; };
    ASSERT_TRUE(line.open());
    pty.hangUp();
    ASSERT_TRUE(spinUntil([&] { return losses > 0; }));
    spinFor(200);
    EXPECT_EQ(std::pair(losses, events), std::pair(1, 1));
    EXPECT_FALSE(line.isOpen());
    std::string in;
    EXPECT_FALSE(line.readInput(in));
}

// A failed open is no line event, and says why in words an operator can act on.
TEST(QtSerialLine, FailedOpensRaiseNoEventAndSayWhy) {
    Pty held;
    QtSerialLine holder([&](std::int16_t) { return held.path; });
    ASSERT_TRUE(holder.open());
    const std::string folder = ::testing::TempDir(), plain = folder + "/kestrova-plain-file";
    std::fclose(std::fopen(plain.c_str(), "w"));
    const std::pair<std::string, std::string> cases[] = {
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
        EXPECT_FALSE(line.readInput(in) || line.writeOutput(std::string_view("\0", 1)));
        EXPECT_EQ(in, "kept");
        EXPECT_EQ(line.handle(), -1);
    }
    std::remove(plain.c_str());
}

}  // namespace
}  // namespace kestrova::testing
