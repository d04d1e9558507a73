#include <gtest/gtest.h>

#include <random>

#include "status/StatusDecoder.h"
#include "tests/status/StatusRig.h"

namespace kestrova::testing {
namespace {

using Log = std::vector<std::string>;

const std::vector<std::string> kFields = {"FM/S", "IF 25", "AIR", "LCL", "HIGH",
                                          "02",   "HNT",   "BRT", "REL"};

std::string statusLine(const std::vector<std::string>& fields, const std::string& end = "\r\n") {
    std::string s = "A";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        s += (i ? "," : "") + fields[i];
    }
    return s + end;
}

// The example line with field k (from 1) replaced.
std::string with(std::size_t k, const std::string& value) {
    auto f = kFields;
    f[k - 1] = value;
    return statusLine(f);
}

const std::string kExample = statusLine(kFields);

const std::string kOpMode = "text Banner_Op_Mode=FM/S";
const std::string kIfBw = "text Banner_IF_BW=IF 25";
const std::string kAir = "picture Banner_AntOrientation=/prog/Ant-AIR-Win32.bmp";
const std::string kLocal = "text Banner_Local_Remote=LCL";
const std::string kGain = "text Banner_Video_Gain=HIGH";
const std::string kBand2 = "text Banner_Ant_Band=band 2";
const std::string kAck = "reply CR LF";
const std::string kReject = "reply BEL CR LF";

Log decode(StatusRig& r, const std::string& rx) {
    r.display.log.clear();
    r.st.RxBuffer = rx;
    ProcessStatusString(r.st);
    EXPECT_EQ(r.st.RxBuffer, rx) << "the line stays for the poll step to remove";
    return r.statusLog();
}

struct LineCase {
    std::string name;
    std::string rx;
    Log log;  // banner calls and reply, in order
};

TEST(StatusDecoder, LinesFromStartUpState) {
    const Log firstSix = {kOpMode, kIfBw, kAir, kLocal, kGain, kBand2};
    auto plus = [&](Log extra) {
        Log l = firstSix;
        l.insert(l.end(), extra.begin(), extra.end());
        return l;
    };
    const std::vector<LineCase> cases = {
        {"example", kExample, plus({"hide BatteryMeter", kAck})},
        {"receive only", with(7, "RCV"), plus({"show FrameDFOff", "hide BatteryMeter", kAck})},
        {"four-character mount stops silently", with(3, "AIRX"), {kOpMode, kIfBw}},
        {"two-character mount stops silently", with(3, "AI"), {kOpMode, kIfBw}},
        {"unknown mount is ignored",
         with(3, "XYZ"),
         {kOpMode, kIfBw, kLocal, kGain, kBand2, "hide BatteryMeter", kAck}},
        {"mount compared exactly",
         with(3, "air"),
         {kOpMode, kIfBw, kLocal, kGain, kBand2, "hide BatteryMeter", kAck}},
        {"unknown mode", with(7, "ABC"), plus({kReject})},
        {"short mode", with(7, "HN"), plus({kReject})},
        {"battery low", with(8, "BAT"), plus({"show BatteryMeter", kAck})},
        {"dim leaves the icon", with(8, "DIM"), plus({kAck})},
        {"cls leaves the icon", with(8, "CLS"), plus({kAck})},
        {"unknown power", with(8, "XYZ"), plus({kReject})},
        {"power compared exactly", with(8, "bat"), plus({kReject})},
        {"power is three characters, no closing comma", with(8, "BRTX"),
         plus({"hide BatteryMeter", kAck})},
        {"power cut short by the line end",
         statusLine({"FM/S", "IF 25", "AIR", "LCL", "HIGH", "02", "HNT", "BR"}), plus({kReject})},
        {"power missing", statusLine({"FM/S", "IF 25", "AIR", "LCL", "HIGH", "02", "HNT", ""}),
         plus({kReject})},
        {"line end without CR", statusLine(kFields, "\n"), plus({"hide BatteryMeter", kAck})},
        {"comma at character 2 opens field 1",
         "A,FM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT\r\n",
         {"text Banner_Op_Mode=,FM/S", kIfBw, kAir, kLocal, kGain, kBand2, "hide BatteryMeter",
          kAck}},
        {"comma right after a comma belongs to the field",
         with(2, ",IF 25"),
         {kOpMode, "text Banner_IF_BW=,IF 25", kAir, kLocal, kGain, kBand2, "hide BatteryMeter",
          kAck}},
        {"non-numeric band is skipped",
         with(6, "x2"),
         {kOpMode, kIfBw, kAir, kLocal, kGain, "hide BatteryMeter", kAck}},
        {"only commas", "A,,,,,,,,,,,,,,,,\r\n", {"text Banner_Op_Mode=,", "text Banner_IF_BW=,"}},
        // Not status lines: nothing shown changes and nothing is sent.
        {"six commas", statusLine({"FM/S", "IF 25", "AIR", "LCL", "HIGH", "02", "HNT"}), {}},
        {"two commas", "AFM/S,IF 25,AIR\r\n", {}},
        {"empty", "A\r\n", {}},
        {"commas only at odd places", "A,,\r\n", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StatusRig r;
        EXPECT_EQ(decode(r, c.rx), c.log);
    }
}

TEST(StatusDecoder, ExampleLineStoresTheRecord) {
    StatusRig r;
    decode(r, kExample);
    EXPECT_EQ(r.st.Op_Mode, "FM/S");
    EXPECT_EQ(r.st.IF_BW, "IF 25");
    EXPECT_TRUE(r.st.AntAirMount);
    EXPECT_EQ(r.st.Local_Remote, "LCL");
    EXPECT_EQ(r.st.Video_Gain, "HIGH");
    EXPECT_EQ(r.st.BandIndex, 2);
    EXPECT_TRUE(r.st.DF_Enabled);
    EXPECT_FALSE(r.display.isVisible(El::BatteryMeter));
    EXPECT_EQ(r.line.written, "\r\n");
}

TEST(StatusDecoder, RepeatedLineRedrawsNothingButStillAnswers) {
    StatusRig r;
    decode(r, with(8, "BAT"));
    EXPECT_EQ(decode(r, with(8, "BAT")), (Log{"show BatteryMeter", kAck}));
    EXPECT_EQ(decode(r, kExample), (Log{"hide BatteryMeter", kAck}));
    EXPECT_EQ(decode(r, kExample), (Log{"hide BatteryMeter", kAck}));
    decode(r, with(3, "GND"));
    EXPECT_EQ(decode(r, with(3, "GND")), (Log{"hide BatteryMeter", kAck}));
}

TEST(StatusDecoder, OnlyChangedFieldsRedrawInFieldOrder) {
    StatusRig r;
    decode(r, kExample);
    const Log got =
        decode(r, statusLine({"AM", "IF 25", "GND", "LCL", "LOW", "02", "RCV", "DIM", "REL"}));
    EXPECT_EQ(
        got, (Log{"text Banner_Op_Mode=AM", "picture Banner_AntOrientation=/prog/Ant-GND-Win32.bmp",
                  "text Banner_Video_Gain=LOW", "show FrameDFOff", kAck}));
    EXPECT_EQ(decode(r, kExample),
              (Log{kOpMode, kAir, kGain, "hide FrameDFOff", "hide BatteryMeter", kAck}));
}

TEST(StatusDecoder, EarlyStopsKeepTheFieldsBeforeThem) {
    struct Case {
        std::string name;
        std::string rx;
        std::string opMode, localRemote;
        int band;
        bool df;
        bool battery;
        std::string written;
    };
    const std::vector<Case> cases = {
        {"bad mount", statusLine({"AM", "IF 6", "AIRX", "RMT", "LOW", "05", "RCV", "BAT"}), "AM",
         "LCL", 2, true, true, ""},
        {"bad mode", statusLine({"AM", "IF 6", "GND", "RMT", "LOW", "05", "OFF", "BRT"}), "AM",
         "RMT", 5, true, true, "\a\r\n"},
        {"bad power", statusLine({"AM", "IF 6", "GND", "RMT", "LOW", "05", "RCV", "OFF"}), "AM",
         "RMT", 5, false, true, "\a\r\n"},
        {"not a status line", statusLine({"AM", "IF 6", "GND", "RMT", "LOW", "05"}), "FM/S", "LCL",
         2, true, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StatusRig r;
        decode(r, with(8, "BAT"));
        r.line.written.clear();
        decode(r, c.rx);
        EXPECT_EQ(r.st.Op_Mode, c.opMode);
        EXPECT_EQ(r.st.Local_Remote, c.localRemote);
        EXPECT_EQ(r.st.BandIndex, c.band);
        EXPECT_EQ(r.st.DF_Enabled, c.df);
        EXPECT_EQ(r.display.isVisible(El::BatteryMeter), c.battery);
        EXPECT_EQ(r.line.written, c.written);
    }
}

TEST(StatusDecoder, BatteryIconFollowsPowerToken) {
    StatusRig r;
    const std::vector<std::pair<std::string, bool>> steps = {
        {"BAT", true},  {"DIM", true},  {"CLS", true},  {"XYZ", true},
        {"BRT", false}, {"DIM", false}, {"CLS", false}, {"BAT", true},
    };
    for (const auto& [token, shown] : steps) {
        decode(r, with(8, token));
        EXPECT_EQ(r.display.isVisible(El::BatteryMeter), shown) << "after " << token;
    }
}

TEST(StatusDecoder, BandField) {
    struct Case {
        std::string field;
        int band;  // after decoding, from band 7
        bool redraw;
    };
    const std::vector<Case> cases = {
        {"02", 2, true},   {"2", 2, true},
        {"002", 2, true},  {" 2", 2, true},
        {"2 ", 2, true},   {"0", 0, true},
        {"15", 15, true},  {"16", 15, true},
        {"255", 15, true}, {"07", 7, false},
        {"2.6", 7, false}, {"-1", 7, false},
        {"256", 7, false}, {"1000", 7, false},
        {"x", 7, false},   {" ", 7, false},
        {"+2", 7, false},  {"2 6", 7, false},
        {"0x2", 7, false}, {"99999999999999999999", 7, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("field 6 \"" + c.field + "\"");
        StatusRig r;
        decode(r, with(6, "07"));
        const Log log = decode(r, with(6, c.field));
        EXPECT_EQ(r.st.BandIndex, c.band);
        const std::string banner = "text Banner_Ant_Band=" + r.st.BandText[c.band];
        const Log want =
            c.redraw ? Log{banner, "hide BatteryMeter", kAck} : Log{"hide BatteryMeter", kAck};
        EXPECT_EQ(log, want);
    }
}

TEST(StatusDecoder, BandAboveFifteenRedrawsEveryTime) {
    StatusRig r;
    const std::string twenty = with(6, "20");
    decode(r, twenty);
    EXPECT_EQ(r.st.BandIndex, 15);
    EXPECT_EQ(r.display.text(El::Banner_Ant_Band), "band 15");
    // 20 differs from the stored 15 each time.
    EXPECT_EQ(decode(r, twenty), (Log{"text Banner_Ant_Band=band 15", "hide BatteryMeter", kAck}));
    EXPECT_EQ(decode(r, with(6, "15")), (Log{"hide BatteryMeter", kAck}));
}

TEST(StatusDecoder, PositionsBeyond255AreNeverRead) {
    // Field 5 padded so that the 7th comma stands at a chosen position (counted from 1).
    auto seventhCommaAt = [](std::size_t pos) { return with(5, std::string(pos - 28, 'G')); };
    const std::string ok = "hide BatteryMeter";
    struct Case {
        std::string name;
        std::string rx;
        std::size_t entries;  // banner entries before the reply
        std::string reply;    // "" when nothing is sent
    };
    const std::vector<Case> cases = {
        {"long tail after field 8", statusLine(kFields, std::string(300, 'x') + "\r\n"), 7, kAck},
        {"token ends at 255", seventhCommaAt(252), 7, kAck},
        {"token crosses 255", seventhCommaAt(253), 6, kReject},
        {"token starts past 255", seventhCommaAt(255), 6, kReject},
        {"7th comma past 255", seventhCommaAt(256), 0, ""},
        {"first comma past 255", "A" + std::string(300, 'F') + ",IF 25,AIR,LCL,HIGH,02,HNT,BRT\r\n",
         0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StatusRig r;
        const Log log = decode(r, c.rx);
        ASSERT_EQ(log.size(), c.entries + (c.reply.empty() ? 0 : 1));
        if (!c.reply.empty()) {
            EXPECT_EQ(log.back(), c.reply);
        }
        if (c.entries == 7) {
            EXPECT_EQ(log[6], ok);
        }
    }
}

TEST(StatusDecoder, NeverReadsIntoTheNextPacket) {
    const std::string next = kExample;
    struct Case {
        std::string name;
        std::string head;
        Log log;
    };
    const std::vector<Case> cases = {
        {"short line before a full one", "AFM/S,IF 25,AIR\r\n", {}},
        {"power token cut by the line end",
         "AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,\n",
         {kOpMode, kIfBw, kAir, kLocal, kGain, kBand2, kReject}},
        {"full line before another",
         with(8, "BAT"),
         {kOpMode, kIfBw, kAir, kLocal, kGain, kBand2, "show BatteryMeter", kAck}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StatusRig r;
        EXPECT_EQ(decode(r, c.head + "BAT,BAT,BAT,BAT,BAT,BAT,BAT\r\n" + next), c.log);
    }
    StatusRig r;
    EXPECT_EQ(decode(r, "AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT"), Log{}) << "no line end yet";
}

TEST(StatusDecoder, NoPortOpenStillDecodes) {
    StatusRig r;
    r.line.close();
    decode(r, kExample);
    EXPECT_EQ(r.st.Op_Mode, "FM/S");
    EXPECT_TRUE(r.line.written.empty());
}

// Random lines built from the protocol's own pieces: whatever follows the LF never changes the
// outcome, the reply is always one of the three, and the band stays within the band texts.
TEST(StatusDecoder, RandomLinesStayWithinTheirLine) {
    const std::vector<std::string> pieces = {",",   ",,",  "HNT", "RCV", "BAT", "BRT", "DIM",
                                             "CLS", "AIR", "GND", "02",  "20",  "x",   " ",
                                             "\r",  "A",   "/",   "255", "-1",  "FM/S"};
    std::mt19937 rng(20240611);
    StatusRig plain;
    StatusRig followed;
    for (int n = 0; n < 3000; ++n) {
        std::string line = "A";
        const std::size_t len = rng() % 4 == 0 ? 120 : 12;
        for (std::size_t k = 0; k < len; ++k) {
            line += pieces[rng() % pieces.size()];
        }
        std::string junk;
        for (int k = 0; k < 12; ++k) {
            junk += pieces[rng() % pieces.size()];
        }
        SCOPED_TRACE(line);
        plain.line.written.clear();
        followed.line.written.clear();
        const Log a = decode(plain, line + "\n");
        const Log b = decode(followed, line + "\n" + junk);
        ASSERT_EQ(a, b);
        const std::string& w = plain.line.written;
        ASSERT_TRUE(w.empty() || w == "\r\n" || w == "\a\r\n") << byteNames(w);
        ASSERT_LE(plain.st.BandIndex, 15);
        ASSERT_EQ(plain.st.Op_Mode, followed.st.Op_Mode);
        ASSERT_EQ(plain.st.Video_Gain, followed.st.Video_Gain);
        ASSERT_EQ(plain.st.BandIndex, followed.st.BandIndex);
        ASSERT_EQ(plain.st.DF_Enabled, followed.st.DF_Enabled);
    }
}

}  // namespace
}  // namespace kestrova::testing
