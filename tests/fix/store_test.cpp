// The line store: each way a readout becomes a true bearing or fails to, the limits on count
// and age, the operator's changes, the fix it keeps, and the settings it reads.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "fix/Export.h"
#include "fix/Geodesy.h"
#include "fix/LineStore.h"

namespace kestrova::fix {
namespace {

const GeoPosition kHere{52, 5};

Stamp at(double seconds) {
    return {static_cast<std::int64_t>(seconds * 1000), {}};
}

BearingShown readout(double seconds, int relative, int compass, bool air = false,
                     std::optional<GeoPosition> p = kHere) {
    BearingShown b;
    b.time = at(seconds);
    b.absolute = compass != 999;
    b.relativeTenths = static_cast<std::int16_t>(relative);
    b.compassHeading = static_cast<std::int16_t>(compass);
    b.airMount = air;
    b.position = p;
    return b;
}

TEST(LineStore, EachReadoutBecomesATrueBearingOrIsCountedWhyNot) {
    struct Case {
        const char* what;
        StoreSettings settings;
        double metresPerSecond;  // east, over the ten seconds before the readout
        BearingShown b;
        std::optional<double> bearing;
        HeadingSource source;
    } cases[] = {
        {"compass", {}, 0, readout(10, 200, 350), 10.0, HeadingSource::Compass},
        {"declination",
         {.declinationDegrees = 3.5},
         0,
         readout(10, 200, 350),
         13.5,
         HeadingSource::Compass},
        {"mirrored mount", {}, 0, readout(10, 1234, 90, true), 326.6, HeadingSource::Compass},
        {"course", {}, 20, readout(10, 450, 999), 135.0, HeadingSource::Course},
        {"mirrored on course", {}, 20, readout(10, 450, 999, true), 45.0, HeadingSource::Course},
        {"too slow", {}, 2.5, readout(10, 450, 999), std::nullopt, {}},
        {"slow enough",
         {.courseMinSpeedKmh = 5},
         2,
         readout(10, 450, 999),
         135.0,
         HeadingSource::Course},
        {"fixed site",
         {.fixedHeadingDegrees = 30.0},
         0,
         readout(10, 450, 999),
         75.0,
         HeadingSource::Fixed},
        {"no position", {}, 0, readout(10, 200, 350, false, std::nullopt), std::nullopt, {}},
        {"GPS without a fix", {}, 0, readout(10, 200, 350, false, GeoPosition{}), std::nullopt, {}},
    };
    for (const Case& c : cases) {
        LineStore store(c.settings);
        store.positionShown({at(0), Move(kHere, 270, 10 * c.metresPerSecond)});
        store.positionShown({at(10), kHere});
        store.bearingShown(c.b);
        const StoreCounts& n = store.counts();
        EXPECT_EQ(n.bearings, 1) << c.what;
        ASSERT_EQ(store.lines().size(), c.bearing ? 1u : 0u) << c.what;
        EXPECT_EQ(store.lastTrueBearing().has_value(), c.bearing.has_value()) << c.what;
        if (c.bearing) {
            EXPECT_NEAR(store.lines()[0].trueBearing, *c.bearing, 0.01) << c.what;
            EXPECT_EQ(store.lastTrueBearing(), store.lines()[0].trueBearing);
            EXPECT_EQ(store.lines()[0].heading, c.source) << c.what;
        } else {
            EXPECT_EQ(n.noPosition + n.noHeading, 1) << c.what;
            EXPECT_EQ(n.noPosition, c.b.position && !IsNullIsland(*c.b.position) ? 0 : 1);
        }
    }
    LineStore store({});
    store.positionShown({at(0), Move(kHere, 270, 200)});
    store.positionShown({at(10), kHere});
    store.positionLost();
    store.bearingShown(readout(10.5, 450, 999));
    EXPECT_EQ(store.counts().noHeading, 1) << "a lost GPS gives no course";
}

TEST(LineStore, KeepsTheNewestWithinCountAndAgeAndTheOperatorsChanges) {
    StoreSettings s;
    s.maxCount = 3;
    s.maxAgeSeconds = 10;
    LineStore store(s);
    for (int t : {0, 2, 4, 6, 8}) {
        store.bearingShown(readout(t, 100, 10));
    }
    auto ids = [&] {
        std::vector<std::uint64_t> v;
        for (const LineOfBearing& l : store.lines()) {
            v.push_back(l.id);
        }
        return v;
    };
    EXPECT_EQ(ids(), (std::vector<std::uint64_t>{3, 4, 5}));
    store.bearingShown(readout(16, 100, 10));  // the line of 4 s is past 10 s, that of 6 s not
    EXPECT_EQ(ids(), (std::vector<std::uint64_t>{4, 5, 6}));
    const std::uint64_t before = store.revision();
    EXPECT_TRUE(store.setExcluded(5, true));
    EXPECT_FALSE(store.setExcluded(99, true));
    EXPECT_TRUE(store.lines()[1].excluded);
    EXPECT_GT(store.revision(), before);
    EXPECT_EQ(store.addManual({91, 0}, 10, "", at(17)), 0u);
    EXPECT_EQ(store.addManual(kHere, std::nan(""), "", at(17)), 0u);
    const std::uint64_t id = store.addManual(kHere, 370, "from the hill", at(17));
    EXPECT_EQ(id, 7u);
    EXPECT_EQ(store.lines().back().trueBearing, 10);
    EXPECT_EQ(store.lines().back().heading, HeadingSource::Manual);
    store.clear();
    EXPECT_TRUE(store.lines().empty());
    EXPECT_EQ(store.addManual(kHere, 1, "", at(18)), 8u) << "ids are never reused";
}

TEST(LineStore, FixesFromTheLinesNotLeftOut) {
    LineStore store({});
    const GeoPosition tx = Move(kHere, 45, 5000);
    for (int i = 0; i < 8; ++i) {
        const GeoPosition p = Move(kHere, 90, 500.0 * i);
        store.addManual(p, Look(p, tx).azimuth + (i == 3 ? 20 : 0), "", at(i));
    }
    store.setExcluded(store.lines()[3].id, true);
    const FixResult& f = store.fix();
    ASSERT_TRUE(f.ok());
    EXPECT_LT(Metres(f.position, tx), 0.05);
    ASSERT_EQ(f.bearings.size(), 8u);
    EXPECT_FALSE(f.bearings[3].used);
    EXPECT_NEAR(f.bearings[3].residualDegrees, 20, 1e-6);
    EXPECT_EQ(&store.fix(), &f);
    const ExportData d = Snapshot(store);
    EXPECT_EQ(d.lines.size(), 8u);
    EXPECT_FALSE(d.verdicts[3].used);
    EXPECT_EQ(d.fix.position, f.position);
    store.clear();
    EXPECT_EQ(store.fix().refusal, Refusal::TooFewBearings);
}

TEST(StoreSettings, KeysInRangeAreTakenAndOthersIgnoredAndReported) {
    std::map<std::string, std::string> ini = {{"Declination", "-3.5"}, {"CourseMinSpeed", "fast"},
                                              {"FixedHeading", "360"}, {"BearingSigma", " 2 "},
                                              {"LobMaxCount", "12.5"}, {"LobMaxAge", "60"}};
    std::vector<std::string> reports;
    const auto read = [&](const std::string& k) { return ini.count(k) ? ini[k] : ""; };
    const auto report = [&](std::string_view m) { reports.emplace_back(m); };
    StoreSettings s = ReadStoreSettings(read, report);
    EXPECT_EQ(s.declinationDegrees, -3.5);
    EXPECT_EQ(s.courseMinSpeedKmh, 10);
    EXPECT_FALSE(s.fixedHeadingDegrees);
    EXPECT_EQ(s.sigmaDegrees, 2);
    EXPECT_EQ(s.maxCount, 300u);
    EXPECT_EQ(s.maxAgeSeconds, 60);
    EXPECT_EQ(reports,
              (std::vector<std::string>{
                  "CourseMinSpeed=fast ignored (km/h from 0 to 1000)",
                  "FixedHeading=360 ignored (degrees true from 0 to below 360, or nothing)",
                  "LobMaxCount=12.5 ignored (a whole number from 2 to 100000)"}));
    ini = {{"FixedHeading", "359.9"}, {"LobMaxCount", "2"}, {"CourseMinSpeed", "0"}};
    reports.clear();
    s = ReadStoreSettings(read, report);
    EXPECT_EQ(s.fixedHeadingDegrees, 359.9);
    EXPECT_EQ(s.maxCount, 2u);
    EXPECT_EQ(s.courseMinSpeedKmh, 0);
    EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace kestrova::fix
