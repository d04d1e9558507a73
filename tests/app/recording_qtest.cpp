// The whole program recording the line, on a real pseudo-terminal with real timers.
#include <gtest/gtest.h>

#include <QTimer>
#include <vector>

#include "core/Recording.h"
#include "tests/fakes/Program.h"

namespace kestrova::testing {
namespace {

// What arrives is on file within half a second of its arrival, however loaded the machine:
// the test looks at the file 450 ms after it saw the program handle a packet (the tick that
// reads a packet handles it). The program's write-out is set by that read and due well before;
// timers that fall overdue together fire in the order they were due.
TEST(Recording, WhatArrivesIsOnFileWithinHalfASecond) {
    Pty pty;
    ProgramFolder folder{pty.path};
    const std::string file = (folder.path / "line.rec").string();
    KestrovaApp app({folder.path.string(), folder.path.string(), "", {}, {file, ""}});
    ASSERT_TRUE(app.start());
    const auto shown = [&] { return app.window().text(El::Banner_GPS_Decimal_Lat); };
    std::string sent;
    std::vector<std::pair<std::size_t, std::string>> looked;  // bytes sent then, file then
    const int pauses[] = {0, 100, 300, 20, 700};
    for (int i = 0; i < 5; ++i) {
        spinFor(pauses[i]);
        const std::string fraction = "000" + std::to_string(i);
        const std::string packet = "D+4012" + fraction + "-073591234\r\n";
        ASSERT_TRUE(pty.send(packet));
        sent += packet;
        ASSERT_TRUE(spinUntil([&] { return shown() == "40\xB0 12." + fraction + "' N"; }));
        QTimer::singleShot(450, Qt::PreciseTimer, [&, size = sent.size()] {
            looked.emplace_back(size, folder.read("line.rec"));
        });
    }
    ASSERT_TRUE(spinUntil([&] { return looked.size() == 5; }));
    for (const auto& [size, content] : looked) {
        std::string onFile;
        for (const auto& chunk : recording::parse(content).chunks) {
            onFile += chunk.bytes;
        }
        EXPECT_EQ(onFile.substr(0, size), sent.substr(0, size)) << "at " << size << " bytes";
    }
}

}  // namespace
}  // namespace kestrova::testing
