#include <gtest/gtest.h>

#include <tuple>

#include "display/BearingHistory.h"
#include "tests/fakes/StationRig.h"

namespace kestrova::testing {
namespace {

TEST(BearingHistory, ReadoutTextsAreTheDegreesShown) {
    const std::tuple<std::string_view, std::optional<double>> rows[] = {
        {"123.", 123.5}, {"045 ", 45.0}, {"000 ", 0.0}, {"359.", 359.5},
        {"370 ", 10.0},  {" - - -", {}}, {"12 .", {}},  {"1234", {}},
        {"123", {}},     {"", {}},       {"12a ", {}},  {"123 ", 123.0},
    };
    for (const auto& [text, degrees] : rows) {
        EXPECT_EQ(ReadoutDegrees(text), degrees) << "\"" << text << "\"";
    }
}

// Marks oldest first, as degrees and the strength in hundredths.
std::vector<std::pair<double, long>> marks(const BearingHistory& h) {
    std::vector<std::pair<double, long>> out;
    for (std::size_t i = 0; i < h.size(); ++i) {
        out.emplace_back(h.mark(i).degrees, std::lround(h.mark(i).strength * 100));
    }
    return out;
}

// Keeps the newest readouts up to its length, the newest strongest, fading evenly to the
// faintest at the length's end; off at length 0; a shorter length drops the oldest.
TEST(BearingHistory, KeepsTheNewestReadoutsFading) {
    BearingHistory one(1);
    one.shown("123 ");
    EXPECT_EQ(one.mark(0).strength, 1.0);
    BearingHistory off;
    EXPECT_FALSE(off.shown("123 "));
    EXPECT_EQ(off.size(), 0u);

    BearingHistory h(5);
    for (const char* r : {"010 ", " - - -", "020.", "030 ", "xyz"}) {
        h.shown(r);
    }
    using Marks = std::vector<std::pair<double, long>>;
    EXPECT_EQ(marks(h), (Marks{{10, 60}, {20.5, 80}, {30, 100}}));
    for (const char* r : {"040 ", "050 ", "060 "}) {
        h.shown(r);
    }
    EXPECT_EQ(marks(h), (Marks{{20.5, 20}, {30, 40}, {40, 60}, {50, 80}, {60, 100}}));
    h.setLength(2);
    EXPECT_EQ(marks(h), (Marks{{50, 20}, {60, 100}}));
    h.clear();
    EXPECT_EQ(h.size(), 0u);
}

// A display keeping a history, driven by the real station from the line.
struct HistoryDisplay : FakeWindow {
    void setText(El e, std::string_view t) override {
        FakeWindow::setText(e, t);
        if (e == El::DOA) {
            history.shown(t);
        }
    }
    void bearingsStopped() override { history.clear(); }
    BearingHistory history{10};
};

// Readouts from the bearing stream are kept; a weak signal's blank keeps them; the link's
// loss and direction finding switched off drop them.
TEST(BearingHistory, TheStationKeepsAndDropsIt) {
    BasicRig<StationDecoders, HistoryDisplay> r;
    auto bearings = [&r](const std::string& packet, int n) {
        for (int i = 0; i < n; ++i) {
            r.feed(packet);
        }
    };
    const std::string east = "B30682048S42999P\r\n", weak = "B21502150S42999P\r\n";
    bearings(east, 48);
    ASSERT_EQ(r.window.text(El::DOA), "090 ");
    EXPECT_EQ(r.window.history.size(), 2u);
    bearings(weak, 50);
    ASSERT_EQ(r.window.text(El::DOA), " - - -");
    EXPECT_EQ(r.window.history.size(), 2u) << "a weak signal is no stop";

    r.tick(40);             // silence: the link-loss timer starts
    r.clock.advance(2000);  // and fires: needle parked, readout blanked
    EXPECT_EQ(r.window.history.size(), 0u);

    bearings(east, 50);
    EXPECT_EQ(r.window.history.size(), 2u);
    r.feed("AFM/S,IF 25,GND,LCL,HIGH,02,RCV,BRT,REL\r\n");
    EXPECT_TRUE(r.window.isVisible(El::FrameDFOff));
    EXPECT_EQ(r.window.history.size(), 0u);
}

}  // namespace
}  // namespace kestrova::testing
