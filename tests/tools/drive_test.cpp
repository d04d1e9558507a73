// A simulated drive through the display's own decoders into the line store: whatever the
// mount, band offset, declination and heading source, the true bearings that come out point
// at the simulated transmitter. The store listens to what the displays showed, as in the
// program.
#include <gtest/gtest.h>

#include "fix/Geodesy.h"
#include "fix/LineStore.h"
#include "tests/fakes/StationRig.h"
#include "tools/sim/Pacing.h"
#include "tools/sim/Stream.h"

namespace kestrova::testing {
namespace {

TEST(Drive, TrueBearingsFromTheDisplayPointAtTheTransmitter) {
    const struct {
        const char* mount;
        int offset;
        double declination;
        bool compass;
    } cases[] = {{"GND", 0, 0, true},
                 {"AIR", -450, 7.5, true},
                 {"GND", 900, -12, true},
                 {"AIR", 150, 0, false},
                 {"GND", -300, 3, false}};
    for (const auto& c : cases) {
        sim::Options opt;
        opt.gpsEvery = 0.25;
        opt.pauseEvery = opt.gpsGapEvery = opt.antennaEvery = 0;
        for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
                 {"drive-waypoint", "-33.8 151.1"},
                 {"drive-leg", "70 300"},
                 {"drive-transmitter-at", "0 3000"},
                 {"drive-speed", "40"},
                 {"drive-sigma", "0"},
                 {"drive-signal", "99"},
                 {"drive-mount", c.mount},
                 {"drive-offset", std::to_string(c.offset)},
                 {"drive-declination", std::to_string(c.declination)},
                 {"drive-compass", c.compass ? "on" : "off"}}) {
            ASSERT_EQ(sim::applyDriveDirective(key, value, opt.drive), "") << key;
        }
        const GeoPosition tx = fix::Move({-33.8, 151.1}, 0, 3000);
        fix::LineStore store({.declinationDegrees = c.declination});
        StationRig r;
        r.st.readings.add(store);
        r.Timer4.start();
        sim::StreamGenerator gen(opt);
        double t = 0;
        for (sim::Piece p; t < 25 && gen.next(p);) {
            t += p.silenceBefore + sim::lineSeconds(p.bytes.size());
            r.line.incoming += p.bytes;
            r.clock.advance(std::lround(t * 1000) - r.clock.now());
        }
        EXPECT_GT(store.lines().size(), 60u) << c.mount << c.offset;
        for (const fix::LineOfBearing& l : store.lines()) {
            const double off = fix::Wrap180(l.trueBearing - fix::Look(l.station, tx).azimuth);
            // The display takes the vector in whole units: 0.4 degrees at a length of 97; a
            // course over 20 m of positions to a fifth of a metre adds up to 0.8.
            ASSERT_LT(std::fabs(off), c.compass ? 0.5 : 1.2)
                << c.mount << " " << c.offset << " at " << l.time.steadyMs;
            EXPECT_EQ(l.heading,
                      c.compass ? fix::HeadingSource::Compass : fix::HeadingSource::Course);
        }
    }
}

}  // namespace
}  // namespace kestrova::testing
