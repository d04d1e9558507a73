// The bearing log against the readouts the real decoders draw from a minute of the
// simulator's stream: compass loss, band and antenna changes, a link pause, a GPS gap.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "display/Bearing.h"
#include "display/Gps.h"
#include "output/BearingLog.h"
#include "status/Banners.h"
#include "tests/fakes/MemoryFile.h"
#include "tests/fakes/StationRig.h"
#include "tools/sim/Pacing.h"
#include "tools/sim/Stream.h"

namespace kestrova::testing {
namespace {

// A decimal-minutes label read back, in signed decimal degrees; "" for the placeholder.
std::string degrees(const std::string& label) {
    int d = 0, m = 0, f = 0;
    char h = 0;
    char buf[32] = "";
    if (std::sscanf(label.c_str(), "%d\xB0 %d.%d' %c", &d, &m, &f, &h) == 4) {
        const double v = d + (m * 10000 + f) / 600000.0;
        std::snprintf(buf, sizeof buf, "%.6f", h == 'S' || h == 'W' ? -v : v);
    }
    return buf;
}

// For every bearing the readout shows, the row the window's state calls for.
class WatchingWindow : public FakeWindow {
  public:
    void setText(El e, std::string_view t) override {
        FakeWindow::setText(e, t);
        if (e == El::DOA && t != " - - -") {
            const std::string shown(t.substr(0, t.find_last_not_of(' ') + 1));
            rows.push_back("," + shown + "," + text(El::Banner_RelBear) + "," +
                           std::to_string(st->bearing.SignalMag) + "," + text(El::Banner_Ant_Band) +
                           "," + degrees(text(El::Banner_GPS_Decimal_Lat)) + "," +
                           degrees(text(El::Banner_GPS_Decimal_Lon)));
        }
        placeholders += e == El::DOA && t == " - - -";
    }
    const Station* st = nullptr;
    std::vector<std::string> rows;
    int placeholders = 0;
};

// The window, and the bearing log listening to the station.
struct LoggedWindow {
    MemoryFile file;
    std::string reports;
    BearingLog log{file, [this](std::string_view m) { reports += m; }};
};

TEST(BearingLogStream, ARowForEveryBearingShownWithWhatTheWindowShowed) {
    BasicRig<StationDecoders, WatchingWindow> r;
    LoggedWindow w;
    r.window.st = &r.st;
    r.st.readings.add(w.log);
    // The blank displays of start-up.
    DigitalDOA_Blank(r.st);
    GPS_Blank(r.st);
    Draw_RelBear(r.st);
    r.Timer4.start();
    ASSERT_TRUE(w.log.start("bearings.csv"));
    sim::Options opt;
    opt.seed = 4;
    opt.antennaEvery = 20;
    sim::StreamGenerator gen(opt);
    double t = 0;
    for (sim::Piece p; t < 60 && gen.next(p);) {
        r.clock.advance(std::lround((t + p.silenceBefore) * 1000) - r.clock.now());
        r.line.incoming += p.bytes;
        t += p.silenceBefore + sim::lineSeconds(p.bytes.size());
        r.clock.advance(std::lround(t * 1000) - r.clock.now());
    }
    std::istringstream csv(w.file.content);
    std::vector<std::string> rows;
    for (std::string line; std::getline(csv, line);) {
        rows.push_back(line.substr(line.find(',')));  // the time is the hand clock's
    }
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), ",bearing,mode,signal,band,latitude,longitude");
    rows.erase(rows.begin());
    EXPECT_EQ(rows, r.window.rows);
    // The minute covers what the columns can hold.
    const auto with = [&](const char* part) {
        return std::count_if(rows.begin(), rows.end(),
                             [&](const std::string& s) { return s.find(part) != s.npos; });
    };
    EXPECT_GT(rows.size(), 100u);
    EXPECT_GT(r.window.placeholders, 5) << "weak signals and the link pause blank the readout";
    EXPECT_GT(with(",ABS,"), 10);
    EXPECT_GT(with(",REL,"), 10);
    EXPECT_GT(std::count_if(rows.begin(), rows.end(), [](auto& s) { return s.ends_with(",,"); }),
              10)
        << "the GPS gap";
    EXPECT_EQ(w.reports, "");
}

}  // namespace
}  // namespace kestrova::testing
