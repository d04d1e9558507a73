// The whole program recording the line, on a real pseudo-terminal with real timers.
#include <gtest/gtest.h>

#include <QTimer>

#include "output/Recording.h"
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
    KestrovaApp app({folder.path.string(), folder.path.string(), "", {}, {file, ""}, "", {}});
    ASSERT_TRUE(app.start());
    std::string sent;
    int looked = 0;
    for (const int pause : {0, 100, 300, 20, 700}) {
        spinFor(pause);
        const std::string fraction = std::to_string(1000 + pause);
        ASSERT_TRUE(pty.send("D+4012" + fraction + "-073591234\r\n"));
        sent += "D+4012" + fraction + "-073591234\r\n";
        ASSERT_TRUE(spinUntil([&] {
            return app.window().text(El::Banner_GPS_Decimal_Lat) == "40\xB0 12." + fraction + "' N";
        }));
        QTimer::singleShot(450, Qt::PreciseTimer, &app.window(), [&, then = sent] {
            std::string onFile;
            for (const auto& chunk : recording::parse(folder.read("line.rec")).chunks) {
                onFile += chunk.bytes;
            }
            EXPECT_TRUE(onFile.starts_with(then)) << then.size() << " bytes sent, " << onFile;
            ++looked;
        });
    }
    ASSERT_TRUE(spinUntil([&] { return looked == 5; }));
}

}  // namespace
}  // namespace kestrova::testing
