#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "display/Bearing.h"
#include "status/AntennaDecoder.h"
#include "status/Banners.h"
#include "status/MagTable.h"
#include "status/StatusDecoder.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/RecordingDisplay.h"

namespace kestrova::testing {
namespace {

// A station on fakes; the rig is its serial line. logOf runs a call and tells what was done since
// the last logOf, in order, as "Op_Mode=FM/S|hide BatteryMeter|\r\n": banner texts, the other
// display calls, and replies as their bytes.
struct StatusRig : FakeSerialLine {
    StatusRig() {
        open();
        for (std::size_t i = 1; i <= 15; ++i) {
            st.antenna.BandText[i] = "band " + std::to_string(i);
        }
    }
    bool writeOutput(std::string_view text) override {
        display.log.emplace_back(text);
        return FakeSerialLine::writeOutput(text);
    }
    std::string logOf(const std::function<void()>& call = [] {}) {
        call();
        std::string out;
        for (const std::string& e : display.log) {
            out += (out.empty() ? "" : "|") + e.substr(e.starts_with("text Banner_") ? 12 : 0);
        }
        display.log.clear();
        return out;
    }
    std::string decode(const std::string& rx) {
        st.link.RxBuffer = rx;
        const std::string log = logOf([&] { ProcessStatusString(st); });
        EXPECT_EQ(st.link.RxBuffer, rx) << "the line stays for the poll step to remove";
        return log;
    }
    std::string load(const std::string& data, bool ack = true) {
        return logOf([&] { LoadAntSettings(st, data, ack); });
    }

    RecordingDisplay display;
    Station st{display, *this};
};

const std::string kAir = "picture Banner_AntOrientation=/Ant-AIR-Win32.bmp";
const std::string kGnd = "picture Banner_AntOrientation=/Ant-GND-Win32.bmp";
const std::string kBrt = "hide BatteryMeter|\r\n";  // what the example's power token gives

// The example status line, field k (1..9) replaced by value.
std::string with(std::size_t k = 9, const std::string& value = "REL") {
    std::string s = "A", f[] = {"FM/S", "IF 25", "AIR", "LCL", "HIGH", "02", "HNT", "BRT", "REL"};
    f[k - 1] = value;
    for (const std::string& x : f) {
        s += x + (&x == &f[8] ? "\r\n" : ",");
    }
    return s;
}

// The six banners the example line draws from start-up.
std::string six(const std::string& gain = "HIGH") {
    return "Op_Mode=FM/S|IF_BW=IF 25|" + kAir + "|Local_Remote=LCL|Video_Gain=" + gain +
           "|Ant_Band=band 2|";
}

// Single lines on a station as start-up leaves it.
TEST(StatusDecoder, LinesFromStartUpState) {
    const std::string rest = "|Local_Remote=LCL|Video_Gain=HIGH|Ant_Band=band 2|" + kBrt;
    const std::string next = "BAT,BAT,BAT,BAT,BAT,BAT,BAT\r\n" + with();
    // Field 5 of this length puts the 7th comma at character pos (counted from 1).
    const auto at = [](std::size_t pos) { return std::string(pos - 28, 'G'); };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {with(), six() + kBrt},
        // A mount not of 3 characters stops, unanswered; an unknown one is ignored.
        {with(3, "AI"), "Op_Mode=FM/S|IF_BW=IF 25"},
        {with(3, "AIr"), "Op_Mode=FM/S|IF_BW=IF 25" + rest},
        {with(8, "BRTX"), six() + kBrt},  // the power token is 3 characters
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT\n", six() + kBrt},
        // The comma closing a field is looked for from the field's second character on.
        {"A,FM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT\r\n", "Op_Mode=,FM/S|IF_BW=IF 25|" + kAir + rest},
        {with(2, ",IF 25"), "Op_Mode=FM/S|IF_BW=,IF 25|" + kAir + rest},
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT\r\n", ""},  // six commas: no status line, no reply
        // Nothing past the first LF is read: it is the next packet.
        {"AFM/S,IF 25,AIR\r\n" + next, ""},
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,\n" + next, six() + "\a\r\n"},
        {with(8, "BAT") + next, six() + "show BatteryMeter|\r\n"},
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT", ""},  // no line end yet
        // Nothing past character 255 is read.
        {with(9, "REL" + std::string(300, 'x')), six() + kBrt},
        {with(5, at(252)), six(at(252)) + kBrt},      // power token ends at 255
        {with(5, at(253)), six(at(253)) + "\a\r\n"},  // crosses 255
        {with(5, at(255)), six(at(255)) + "\a\r\n"},  // starts past 255
        {with(5, at(256)), ""},
    };
    for (const auto& [rx, log] : cases) {
        EXPECT_EQ(StatusRig().decode(rx), log) << rx;
    }
}

// One station through a run of lines: only changed fields redraw, in field order; a line that
// stops early keeps the fields before the stop; DIM and CLS leave the battery icon alone;
// direction finding off parks the needle, drops past bearings, shows the sign, then blanks the
// readout, each time, and on only hides the sign. A closed port does not stop decoding, nor sends
// anything.
TEST(StatusDecoder, RunOfLinesRedrawsOnlyWhatChanged) {
    StatusRig r;
    const std::string am = "AAM,IF 6,GND,RMT,LOW,05,";
    const std::vector<std::pair<std::string, std::string>> steps = {
        {with(8, "BAT"), six() + "show BatteryMeter|\r\n"},
        {"AAM,IF 6,AIRX,RMT,LOW,05,RCV,BRT\r\n", "Op_Mode=AM|IF_BW=IF 6"},
        {am + "HNt,BRT\r\n", kGnd + "|Local_Remote=RMT|Video_Gain=LOW|Ant_Band=band 5|\a\r\n"},
        {am + "RCV,BAt\r\n", "needle|bearings stopped|show FrameDFOff|text DOA= - - -|\a\r\n"},
        {am + "RCV,DIM\r\n", "\r\n"},
        {am + "RCV,CLS\r\n", "\r\n"},
        {with(), six() + "hide FrameDFOff|" + kBrt},
        {with(7, "RCV"), "needle|bearings stopped|show FrameDFOff|text DOA= - - -|" + kBrt},
        {with(7, "RCV"), kBrt},
    };
    for (const auto& [rx, log] : steps) {
        EXPECT_EQ(r.decode(rx), log) << rx;
    }
    EXPECT_EQ(r.display.needleValue, 360);
    r.close();
    EXPECT_EQ(r.decode(with(4, "RMT")), "Local_Remote=RMT|hide FrameDFOff|" + kBrt);
    EXPECT_EQ(r.written, "\r\n\a\r\n\a\r\n\r\n\r\n\r\n\r\n\r\n") << "nothing sent once closed";
}

// Field 6, from band 7, twice: a whole number 0..255, blanks around it allowed; above 15 shows
// 15, and differs from the stored 15 again the next time.
TEST(StatusDecoder, BandField) {
    const std::vector<std::tuple<std::string, int, int>> cases = {
        // field, band, redraws
        {"02", 2, 1},  {" 2", 2, 1},   {"2 ", 2, 1}, {"0", 0, 1},   {"16", 15, 2},
        {"20", 15, 2}, {"255", 15, 2}, {"07", 7, 0}, {"256", 7, 0}, {"2.6", 7, 0},
        {"+2", 7, 0},  {"-1", 7, 0},   {" ", 7, 0},  {"x", 7, 0}};
    for (const auto& [field, band, redraws] : cases) {
        StatusRig r;
        r.decode(with(6, "07"));
        const std::string draw = "Ant_Band=" + r.st.antenna.BandText[band] + "|";
        EXPECT_EQ(r.decode(with(6, field)), (redraws > 0 ? draw : "") + kBrt) << field;
        EXPECT_EQ(r.decode(with(6, field)), (redraws > 1 ? draw : "") + kBrt) << field;
        EXPECT_EQ(r.st.status.BandIndex, band) << field;
    }
}

// The example antenna line: 15 entries, each with offset -450, then `more`.
const std::string kFour[] = {" 1000-1010", " 1100-1110", "1200-1210", "2400-2410"};
std::string antennaLine(const std::string& more = "") {
    std::string s = "CQAX-7741C-1";
    for (int i = 0; i < 15; ++i) {
        s += "," + kFour[i % 4] + "/-450";
    }
    return s + more + "\r\n";
}

// Fifteen entries, or sixteen of which the last is dropped; then a 4-entry line keeps the rest.
TEST(AntennaDecoder, FifteenEntriesThenAShorterList) {
    for (const std::string more : {"", ",9999-9999/77"}) {
        StatusRig r;
        r.st.status.BandIndex = 2;
        EXPECT_EQ(r.load(antennaLine(more)), "Ant_Mod=QAX-7741C-1|Ant_Band= 1100-1110 MHz|\r\n");
        std::array<std::string, 17> texts{};
        std::array<float, 17> offsets{};
        for (int i = 1; i <= 15; ++i) {
            texts[i] = kFour[(i - 1) % 4] + " MHz";
            offsets[i] = -450;
        }
        EXPECT_EQ(std::tie(r.st.antenna.BandText, r.st.antenna.BandOffset),
                  std::tie(texts, offsets));
        r.close();  // a closed port does not stop decoding
        EXPECT_EQ(r.load("CQ4,1/1,2/2,3,4/4\r\n"), "Ant_Mod=Q4|Ant_Band=2 MHz|\r\n");
        std::ranges::copy(std::array{"1 MHz", "2 MHz", "3 MHz", "4 MHz"}, texts.begin() + 1);
        std::ranges::copy(std::array{1.0f, 2.0f, 0.0f, 4.0f}, offsets.begin() + 1);
        EXPECT_EQ(std::tie(r.st.antenna.BandText, r.st.antenna.BandOffset),
                  std::tie(texts, offsets));
        EXPECT_EQ(r.written, "\r\n") << "nothing sent once closed";
    }
}

// ANT UNKNOWN anywhere in the line loads placeholders for every band; answered only when asked.
TEST(AntennaDecoder, UnknownAntennaLoadsPlaceholders) {
    StatusRig r;
    const std::array<float, 17> kZero{};
    const std::array<std::string, 17> texts = {
        "",        "BAND 01", "BAND 02", "BAND 03", "BAND 04", "BAND 05",
        "BAND 06", "BAND 07", "BAND 08", "BAND 09", "BAND 10", "BAND 11",
        "BAND 12", "BAND 13", "BAND 14", "BAND 15", ""};
    EXPECT_EQ(r.load("CANT UNKNOWN\r\n", false), "Ant_Mod=ANT UNKNOWN|Ant_Band=");
    EXPECT_EQ(std::tie(r.st.antenna.BandText, r.st.antenna.BandOffset), std::tie(texts, kZero));
    r.load(antennaLine());
    r.st.status.BandIndex = 3;
    EXPECT_EQ(r.load("CX,1/5,ANT UNKNOWN/7\r\n"), "Ant_Mod=ANT UNKNOWN|Ant_Band=BAND 03|\r\n");
    EXPECT_EQ(std::tie(r.st.antenna.BandText, r.st.antenna.BandOffset), std::tie(texts, kZero));
}

// What one line leaves in bands 1 and 2 after model OLD with a/10 and b/20; the others stay.
TEST(AntennaDecoder, LinesAndWhatTheyStore) {
    // line, model, band 1 and 2 texts, their offsets
    const std::tuple<std::string, std::string, std::string, std::string, float, float> cases[] = {
        {"CX1, 100-200, 300-400/12\r\n", "X1", " 100-200 MHz", " 300-400 MHz", 0, 12},
        {"CQ/7,,5/ -45 \r\n", "Q/7", " MHz", "5 MHz", 0, -45},
        {"CX,5/-12.5,6/+45\r\n", "X", "5 MHz", "6 MHz", -12.5f, 45},
        // A bad offset keeps the band's previous one; its text is still taken.
        {"CX,5/abc,6/\r\n", "X", "5 MHz", "6 MHz", 10, 20},
        {"CX,5/6/7,6/99999\r\n", "X", "5 MHz", "6 MHz", 10, 20},
        {"CX,5/1e3,6/nan\r\n", "X", "5 MHz", "6 MHz", 10, 20},
        // Outside the grammar: the record stays as it was.
        {"CQAX-7741C-1\r\n", "OLD", "a MHz", "b MHz", 10, 20},
        {"CX,5/3\n", "OLD", "a MHz", "b MHz", 10, 20},
        {"CX,5/3\r", "OLD", "a MHz", "b MHz", 10, 20},
        {"", "OLD", "a MHz", "b MHz", 10, 20},
    };
    for (const auto& [line, model, text1, text2, offset1, offset2] : cases) {
        StatusRig r;
        auto texts = r.st.antenna.BandText;
        r.load("COLD,a/10,b/20\r\n");
        EXPECT_EQ(r.load(line), "Ant_Mod=" + model + "|Ant_Band=|\r\n") << line;
        std::ranges::copy(std::array{text1, text2}, texts.begin() + 1);
        const std::array<float, 17> offsets = {0, offset1, offset2};
        EXPECT_EQ(std::tie(r.st.antenna.BandText, r.st.antenna.BandOffset),
                  std::tie(texts, offsets))
            << line;
    }
}

// Relative or absolute bearing; the mount picture is read afresh at every call, and a failed
// read leaves the previous one.
TEST(Banners, RelativeOrAbsoluteAndMountPicture) {
    StatusRig r;
    for (const bool on : {false, true, true}) {
        r.st.bearing.RelBearMode = r.st.status.AntAirMount = on;
        Draw_RelBear(r.st);
        Draw_AntOrientation(r.st);
    }
    EXPECT_EQ(r.logOf(), "RelBear=ABS|" + kGnd + "|RelBear=REL|" + kAir + "|RelBear=REL|" + kAir);
    r.display.failPictures = true;
    r.st.status.AntAirMount = false;
    Draw_AntOrientation(r.st);
    EXPECT_EQ(r.display.picture(El::Banner_AntOrientation), "/Ant-AIR-Win32.bmp");
}

// Every entry is the whole number nearest the length (no length is ever halfway).
TEST(MagTable, EveryEntryIsTheNearestWholeLength) {
    StatusRig r;
    CreateTables(r.st);
    for (int x = 0; x <= 100; ++x) {
        for (int y = 0; y <= 100; ++y) {
            ASSERT_LT(std::abs(std::hypot(x, y) - r.st.bearing.MagTable[x][y]), 0.5)
                << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace kestrova::testing
