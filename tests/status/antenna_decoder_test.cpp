#include <gtest/gtest.h>

#include <map>
#include <random>

#include "status/AntennaDecoder.h"
#include "tests/status/StatusRig.h"

namespace kestrova::testing {
namespace {

using Log = std::vector<std::string>;

std::string antennaLine(const std::string& model, const std::vector<std::string>& entries) {
    std::string s = "C" + model;
    for (const auto& e : entries) {
        s += "," + e;
    }
    return s + "\r\n";
}

std::vector<std::string> exampleEntries() {
    std::vector<std::string> e;
    for (int i = 0; i < 3; ++i) {
        e.insert(e.end(),
                 {" 1000-1010/-450", " 1100-1110/-450", "1200-1210/-450", "2400-2410/-450"});
    }
    e.insert(e.end(), {" 1000-1010/-450", " 1100-1110/-450", "1200-1210/-450"});
    return e;
}

const std::string kExample = antennaLine("QAX-7741C-1", exampleEntries());

Log load(StatusRig& r, const std::string& data, bool ack = true) {
    r.display.log.clear();
    LoadAntSettings(r.st, data, ack);
    return r.statusLog();
}

void expectPlaceholders(const Station& st) {
    EXPECT_EQ(st.Ant_Model, "ANT UNKNOWN");
    for (int i = 1; i <= 15; ++i) {
        EXPECT_EQ(st.BandText[i], (i < 10 ? "BAND 0" : "BAND ") + std::to_string(i));
        EXPECT_EQ(st.BandOffset[i], 0.0f) << i;
    }
    EXPECT_EQ(st.BandText[0], "");
    EXPECT_EQ(st.BandText[16], "");
}

TEST(AntennaDecoder, StartUpPlaceholdersWithoutReply) {
    StatusRig r;
    r.st.BandText = {};
    const Log log = load(r, "CANT UNKNOWN\r\n", false);
    expectPlaceholders(r.st);
    EXPECT_EQ(log, (Log{"text Banner_Ant_Mod=ANT UNKNOWN", "text Banner_Ant_Band="}));
    EXPECT_TRUE(r.line.written.empty());
}

TEST(AntennaDecoder, UnknownAntennaAnywhereReplacesEveryBand) {
    StatusRig r;
    load(r, kExample);
    r.st.BandIndex = 3;
    const Log log = load(r, "CX,1/5,ANT UNKNOWN/7\r\n");
    expectPlaceholders(r.st);
    EXPECT_EQ(log, (Log{"text Banner_Ant_Mod=ANT UNKNOWN", "text Banner_Ant_Band=BAND 03",
                        "reply CR LF"}));
}

TEST(AntennaDecoder, FifteenBandsWithOffsets) {
    StatusRig r;
    r.st.BandIndex = 2;
    const Log log = load(r, kExample);
    EXPECT_EQ(r.st.Ant_Model, "QAX-7741C-1");
    const auto entries = exampleEntries();
    for (int i = 1; i <= 15; ++i) {
        const std::string& e = entries[i - 1];
        EXPECT_EQ(r.st.BandText[i], e.substr(0, e.find('/')) + " MHz") << i;
        EXPECT_EQ(r.st.BandOffset[i], -450.0f) << i;
    }
    EXPECT_EQ(r.st.BandText[1], " 1000-1010 MHz");
    EXPECT_EQ(r.st.BandText[3], "1200-1210 MHz");
    EXPECT_EQ(r.st.BandText[16], "");
    EXPECT_EQ(r.st.BandOffset[16], 0.0f);
    EXPECT_EQ(log, (Log{"text Banner_Ant_Mod=QAX-7741C-1", "text Banner_Ant_Band= 1100-1110 MHz",
                        "reply CR LF"}));
}

TEST(AntennaDecoder, SixteenthEntryIsDropped) {
    StatusRig r;
    auto entries = exampleEntries();
    entries.push_back("9999-9999/77");
    load(r, antennaLine("Q", entries));
    EXPECT_EQ(r.st.BandText[15], "1200-1210 MHz");
    EXPECT_EQ(r.st.BandOffset[15], -450.0f);
    EXPECT_EQ(r.st.BandText[16], "");
    EXPECT_EQ(r.st.BandOffset[16], 0.0f);
    EXPECT_EQ(r.line.written, "\r\n");
}

TEST(AntennaDecoder, ShorterListKeepsTheLaterEntries) {
    StatusRig r;
    load(r, kExample);
    load(r, antennaLine("Q4", {"1/1", "2/2", "3", "4/4"}));
    EXPECT_EQ(r.st.Ant_Model, "Q4");
    EXPECT_EQ(r.st.BandText[3], "3 MHz");
    EXPECT_EQ(r.st.BandOffset[3], 0.0f);
    EXPECT_EQ(r.st.BandText[4], "4 MHz");
    EXPECT_EQ(r.st.BandOffset[4], 4.0f);
    EXPECT_EQ(r.st.BandText[5], " 1000-1010 MHz");
    EXPECT_EQ(r.st.BandOffset[5], -450.0f);
    EXPECT_EQ(r.st.BandText[15], "1200-1210 MHz");
}

// What one line leaves in the record, starting from two known bands with offsets 10 and 20.
struct LineCase {
    std::string name;
    std::string data;
    std::string model;
    std::map<int, std::pair<std::string, float>> bands;  // the entries expected to differ
};

TEST(AntennaDecoder, LinesAndWhatTheyStore) {
    const std::vector<LineCase> cases = {
        {"entries after a blank",
         "CX1, 100-200, 300-400/12\r\n",
         "X1",
         {{1, {" 100-200 MHz", 0}}, {2, {" 300-400 MHz", 12}}}},
        {"empty model", "C,100-200\r\n", "", {{1, {"100-200 MHz", 0}}}},
        {"empty entry", "CX,,5/3\r\n", "X", {{1, {" MHz", 0}}, {2, {"5 MHz", 3}}}},
        {"trailing comma", "CX,5/3,\r\n", "X", {{1, {"5 MHz", 3}}, {2, {" MHz", 0}}}},
        {"slash in the model", "CQ/7,5\r\n", "Q/7", {{1, {"5 MHz", 0}}}},
        {"slash of a later entry", "CX,5,6/3\r\n", "X", {{1, {"5 MHz", 0}}, {2, {"6 MHz", 3}}}},
        {"slash first", "CX,/3\r\n", "X", {{1, {" MHz", 3}}}},
        {"blanks around offset", "CX,5/ -45 \r\n", "X", {{1, {"5 MHz", -45}}}},
        {"plus sign", "CX,5/+45\r\n", "X", {{1, {"5 MHz", 45}}}},
        {"fraction", "CX,5/-12.5\r\n", "X", {{1, {"5 MHz", -12.5f}}}},
        // A bad offset keeps the band's previous one; the text is still taken.
        {"word offset", "CX,5/abc\r\n", "X", {{1, {"5 MHz", 10}}}},
        {"empty offset", "CX,5/\r\n", "X", {{1, {"5 MHz", 10}}}},
        {"second slash", "CX,5/6/7\r\n", "X", {{1, {"5 MHz", 10}}}},
        {"sign only", "CX,5/-\r\n", "X", {{1, {"5 MHz", 10}}}},
        {"exponent", "CX,5/1e3\r\n", "X", {{1, {"5 MHz", 10}}}},
        {"not a number", "CX,5/nan\r\n", "X", {{1, {"5 MHz", 10}}}},
        {"beyond 16 bits", "CX,5/99999\r\n", "X", {{1, {"5 MHz", 10}}}},
        {"two points", "CX,5/1.2.3\r\n", "X", {{1, {"5 MHz", 10}}}},
        // Outside the grammar: the record stays as it was.
        {"no comma", "CQAX-7741C-1\r\n", "OLD", {}},
        {"LF alone", "CX,5/3\n", "OLD", {}},
        {"no terminator", "CX,5/3", "OLD", {}},
        {"CR alone", "CX,5/3\r", "OLD", {}},
        {"empty", "", "OLD", {}},
        {"letter only", "C\r\n", "OLD", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StatusRig r;
        load(r, "COLD,a/10,b/20\r\n");
        auto want =
            std::map<int, std::pair<std::string, float>>{{1, {"a MHz", 10}}, {2, {"b MHz", 20}}};
        for (const auto& [i, band] : c.bands) {
            want[i] = band;
        }
        const Log log = load(r, c.data);
        EXPECT_EQ(r.st.Ant_Model, c.model);
        for (int i = 0; i <= 16; ++i) {
            const auto it = want.find(i);
            const std::string text = it != want.end()    ? it->second.first
                                     : i >= 1 && i <= 15 ? "band " + std::to_string(i)
                                                         : "";
            EXPECT_EQ(r.st.BandText[i], text) << i;
            EXPECT_EQ(r.st.BandOffset[i], it != want.end() ? it->second.second : 0.0f) << i;
        }
        EXPECT_EQ(log,
                  (Log{"text Banner_Ant_Mod=" + c.model, "text Banner_Ant_Band=", "reply CR LF"}));
    }
}

TEST(AntennaDecoder, NoPortOpenStillDecodes) {
    StatusRig r;
    r.line.close();
    load(r, "CX,5\r\n");
    EXPECT_EQ(r.st.Ant_Model, "X");
    EXPECT_TRUE(r.line.written.empty());
}

// Random lines of commas, slashes and numbers: entries 0 and 16 are never written and every
// line is acknowledged once.
TEST(AntennaDecoder, RandomLinesWriteOnlyBandsOneToFifteen) {
    const std::vector<std::string> pieces = {",",  "/",  "-",    "450", "1.5", " ", "x",
                                             "\r", "\n", "\r\n", "ANT", "e9",  "."};
    std::mt19937 rng(7741);
    StatusRig r;
    for (int n = 0; n < 3000; ++n) {
        std::string data = "C";
        const std::size_t len = rng() % 60;
        for (std::size_t k = 0; k < len; ++k) {
            data += pieces[rng() % pieces.size()];
        }
        SCOPED_TRACE(data);
        r.line.written.clear();
        load(r, data);
        ASSERT_EQ(r.line.written, "\r\n");
        ASSERT_EQ(r.st.BandText[0], "");
        ASSERT_EQ(r.st.BandText[16], "");
        ASSERT_EQ(r.st.BandOffset[0], 0.0f);
        ASSERT_EQ(r.st.BandOffset[16], 0.0f);
        for (int i = 1; i <= 15; ++i) {
            ASSERT_LE(std::abs(r.st.BandOffset[i]), 32767.0f);
        }
    }
}

}  // namespace
}  // namespace kestrova::testing
