// The status and antenna lines, from their records to the banners and replies.
#include <gtest/gtest.h>

#include "status/AntennaDecoder.h"
#include "status/Banners.h"
#include "status/StatusDecoder.h"
#include "tests/fakes/StationRig.h"

namespace kestrova::testing {
namespace {

// The example status line, field k (1..9) replaced by value.
std::string with(std::size_t k = 9, const std::string& value = "REL") {
    std::string s = "A", f[] = {"FM/S", "IF 25", "AIR", "LCL", "HIGH", "02", "HNT", "BRT", "REL"};
    f[k - 1] = value;
    for (const std::string& x : f) {
        s += x + (&x == &f[8] ? "\r\n" : ",");
    }
    return s;
}

// A status record as "fields read|mode|IF|mount|local|gain|band|mode|power", one letter for
// each enumeration (A air, G ground, O other; D direction finding, R receive, U unknown; B
// battery low, R bright, D dim, C close, U unknown), "-" for no band.
std::string record(const StatusLine& s) {
    const char* mount = "AGO";
    const char* mode = "DRU";
    const char* power = "BRDCU";
    const bool all = s.fieldsRead >= 7;
    return std::to_string(s.fieldsRead) + "|" + s.opMode + "|" + s.ifBw + "|" +
           (all ? mount[static_cast<int>(s.mountIs)] : 'O') + "|" + (all ? s.localRemote : "") +
           "|" + (all ? s.videoGain : "") + "|" +
           (all && s.bandIndex ? std::to_string(*s.bandIndex) : "-") + "|" +
           (all ? mode[static_cast<int>(s.modeIs)] : 'U') + "|" +
           (s.fieldsRead == 8 ? power[static_cast<int>(s.powerIs)] : 'U');
}

// Each line as read, and the reply the station sends when it arrives: CR LF, BEL CR LF, none.
TEST(ParseStatusLine, RecordsAndReplies) {
    const std::string next = "BAT,BAT,BAT,BAT,BAT,BAT,BAT\r\n" + with();
    // Field 5 of this length puts the 7th comma at character pos (counted from 1).
    const auto at = [](std::size_t pos) { return std::string(pos - 28, 'G'); };
    const std::string g252 = at(252), g253 = at(253), g255 = at(255);
    const std::tuple<std::string, std::string, const char*> cases[] = {
        {with(), "8|FM/S|IF 25|A|LCL|HIGH|2|D|R", "\r\n"},
        {with(3, "GND") + next, "8|FM/S|IF 25|G|LCL|HIGH|2|D|R", "\r\n"},
        {with(3, "AI"), "2|FM/S|IF 25|O|||-|U|U", ""},  // a mount not of 3 characters stops
        {with(3, "AIr"), "8|FM/S|IF 25|O|LCL|HIGH|2|D|R", "\r\n"},
        {with(8, "BRTX"), "8|FM/S|IF 25|A|LCL|HIGH|2|D|R", "\r\n"},  // the token is 3 long
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT\n", "8|FM/S|IF 25|A|LCL|HIGH|2|D|R", "\r\n"},
        // The comma closing a field is looked for from the field's second character on.
        {"A,FM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT\r\n", "8|,FM/S|IF 25|A|LCL|HIGH|2|D|R", "\r\n"},
        {with(2, ",IF 25"), "8|FM/S|,IF 25|A|LCL|HIGH|2|D|R", "\r\n"},
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT\r\n", "0|||O|||-|U|U", ""},  // six commas
        {"AFM/S,IF 25,AIR\r\n" + next, "0|||O|||-|U|U", ""},           // nothing past the first LF
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,\n" + next, "8|FM/S|IF 25|A|LCL|HIGH|2|D|U", "\a\r\n"},
        {with(8, "BAT") + next, "8|FM/S|IF 25|A|LCL|HIGH|2|D|B", "\r\n"},
        {with(7, "RCV"), "8|FM/S|IF 25|A|LCL|HIGH|2|R|R", "\r\n"},
        {with(7, "XXX"), "7|FM/S|IF 25|A|LCL|HIGH|2|U|U", "\a\r\n"},
        {with(7, "hnt"), "7|FM/S|IF 25|A|LCL|HIGH|2|U|U", "\a\r\n"},
        {with(8, "DIM"), "8|FM/S|IF 25|A|LCL|HIGH|2|D|D", "\r\n"},
        {with(8, "CLS"), "8|FM/S|IF 25|A|LCL|HIGH|2|D|C", "\r\n"},
        {with(8, "BAt"), "8|FM/S|IF 25|A|LCL|HIGH|2|D|U", "\a\r\n"},
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT", "0|||O|||-|U|U", ""},  // no line end yet
        // Nothing past character 255 is read.
        {with(9, "REL" + std::string(300, 'x')), "8|FM/S|IF 25|A|LCL|HIGH|2|D|R", "\r\n"},
        {with(5, g252), "8|FM/S|IF 25|A|LCL|" + g252 + "|2|D|R", "\r\n"},    // ends at 255
        {with(5, g253), "8|FM/S|IF 25|A|LCL|" + g253 + "|2|D|U", "\a\r\n"},  // crosses 255
        {with(5, g255), "8|FM/S|IF 25|A|LCL|" + g255 + "|2|D|U", "\a\r\n"},  // starts past
        {with(5, at(256)), "0|||O|||-|U|U", ""},
    };
    for (const auto& [line, want, reply] : cases) {
        EXPECT_EQ(record(ParseStatusLine(line)), want) << line;
        StationRig r;
        ProcessStatusString(r.st, ParseStatusLine(line));
        EXPECT_EQ(r.line.written, reply) << line;
    }
}

// Field 6: a whole number 0..255, blanks around it allowed.
TEST(ParseStatusLine, BandField) {
    const std::pair<const char*, int> cases[] = {
        {"02", 2},   {" 2", 2},  {"2 ", 2},  {"0", 0},  {"16", 16}, {"255", 255}, {"256", -1},
        {"2.6", -1}, {"+2", -1}, {"-1", -1}, {" ", -1}, {"x", -1},  {"1 2", -1}};
    for (const auto& [field, band] : cases) {
        const StatusLine s = ParseStatusLine(with(6, field));
        EXPECT_EQ(s.bandIndex ? *s.bandIndex : -1, band) << field;
        EXPECT_EQ(s.fieldsRead, 8) << field;
    }
}

// What the window was told since the last look, banners without their prefix.
std::string drawn(StationRig& r) {
    std::string log = r.window.takeLog();
    for (std::size_t at; (at = log.find("Banner_")) != std::string::npos;) {
        log.erase(at, 7);
    }
    return log;
}

const std::string kAir = "AntOrientation</Ant-AIR-Win32.bmp";
const std::string kGnd = "AntOrientation</Ant-GND-Win32.bmp";
const std::string kPark = "needle 360|strength 0|FrameDFOff shown|DOA= - - -|bearings stopped";

// The six banners the example line draws from start-up, with band 2 shown.
std::string six(const std::string& band = "BAND 02") {
    return "Op_Mode=FM/S|IF_BW=IF 25|" + kAir +
           "|Local_Remote=LCL|Video_Gain=HIGH|Ant_Band=" + band + "|";
}

// One station through a run of lines: only changed fields redraw, in field order; a line that
// stops early keeps the fields before the stop; DIM and CLS leave the battery icon alone;
// direction finding off parks the needle, drops past bearings, shows the sign, then blanks the
// readout, each time, and on only hides the sign. A closed port does not stop decoding.
TEST(ProcessStatusString, RedrawsOnlyWhatChanged) {
    StationRig r;
    r.logReplies();
    const std::string am = "AAM,IF 6,GND,RMT,LOW,05,", brt = "BatteryMeter hidden|reply rn";
    const std::pair<std::string, std::string> steps[] = {
        {with(8, "BAT"), six() + "BatteryMeter shown|reply rn"},
        {"AAM,IF 6,AIRX,RMT,LOW,05,RCV,BRT\r\n", "Op_Mode=AM|IF_BW=IF 6"},
        {am + "HNt,BRT\r\n", kGnd + "|Local_Remote=RMT|Video_Gain=LOW|Ant_Band=BAND 05|reply Grn"},
        {am + "RCV,BAt\r\n", kPark + "|reply Grn"},
        {am + "RCV,DIM\r\n", "reply rn"},
        {am + "RCV,CLS\r\n", "reply rn"},
        {with(), six() + "FrameDFOff hidden|" + brt},
        {with(7, "RCV"), kPark + "|" + brt},
        {with(7, "RCV"), brt},
        {with(6, "16"), "Ant_Band=BAND 15|FrameDFOff hidden|" + brt},  // above 15 shows 15,
        {with(6, "20"), "Ant_Band=BAND 15|" + brt},  // and differs from the 15 stored
    };
    for (const auto& [rx, log] : steps) {
        ProcessStatusString(r.st, ParseStatusLine(rx));
        EXPECT_EQ(drawn(r), log) << rx;
    }
    EXPECT_EQ(r.st.status.BandIndex, 15);
    r.line.close();
    ProcessStatusString(r.st, ParseStatusLine(with(4, "RMT")));
    EXPECT_EQ(drawn(r), "Local_Remote=RMT|Ant_Band=BAND 02|BatteryMeter hidden");
}

// An antenna record as "unknown|well formed|model|text/offset,...", "-" for no offset.
std::string record(const AntennaLine& a) {
    std::string s = std::string(a.unknown ? "U|" : "-|") + (a.wellFormed ? "W|" : "-|") + a.model;
    for (const auto& b : a.bands) {
        char offset[32] = "-";
        if (b.offset) {
            std::snprintf(offset, sizeof offset, "%g", static_cast<double>(*b.offset));
        }
        s += (&b == &a.bands.front() ? "|" : ",") + b.text + "/" + offset;
    }
    return s;
}

TEST(ParseAntennaLine, Records) {
    const std::pair<std::string, std::string> cases[] = {
        {"CQAX-7741C-1, 1000-1010/-450,1100-1110/-450\r\n",
         "-|W|QAX-7741C-1| 1000-1010/-450,1100-1110/-450"},
        {"CX1, 100-200, 300-400/12\r\n", "-|W|X1| 100-200/0, 300-400/12"},
        {"CQ/7,,5/ -45 \r\n", "-|W|Q/7|/0,5/-45"},
        {"CX,5/-12.5,6/+45,7/.5,8/32767,9/-32767\r\n", "-|W|X|5/-12.5,6/45,7/0.5,8/32767,9/-32767"},
        // Offsets that are no number: the band keeps its old one.
        {"CX,5/abc,6/,7/6/7,8/99999,9/1e3,10/nan,11/1.2.3,12/-,13/.,14/1 2,15/32767.5,16/--5\r\n",
         "-|W|X|5/-,6/-,7/-,8/-,9/-,10/-,11/-,12/-,13/-,14/-,15/-,16/-"},
        {"CX,a,b,c,d,e,f,g,h,i,j,k,l,m,n,o,p\r\n",  // the 16th entry is dropped
         "-|W|X|a/0,b/0,c/0,d/0,e/0,f/0,g/0,h/0,i/0,j/0,k/0,l/0,m/0,n/0,o/0"},
        {"CANT UNKNOWN\r\n", "U|-|"},
        {"CX,1/5,ANT UNKNOWN/7\r\n", "U|-|"},
        {"ANT UNKNOWN\r\n", "-|-|"},  // from character 2 on
        // Outside the grammar.
        {"CQAX-7741C-1\r\n", "-|-|"},
        {"CX,5/3\n", "-|-|"},
        {"CX,5/3\r", "-|-|"},
        {"", "-|-|"},
    };
    for (const auto& [line, want] : cases) {
        EXPECT_EQ(record(ParseAntennaLine(line)), want) << line;
    }
}

// Into the record: the entries named are written, a shorter list keeps the rest, an offset
// that is no number keeps the old one, a line outside the grammar keeps all; ANT UNKNOWN loads
// placeholders. Model and band are drawn each time; answered only when asked, never when closed.
TEST(LoadAntSettings, StoresDrawsAndAnswers) {
    StationRig r;
    r.logReplies();
    r.st.status.BandIndex = 2;
    const std::tuple<std::string, bool, std::string, std::string> steps[] = {
        {"CQ4,1/1,2/2,3,4/4\r\n", true, "Q4|1 MHz/1,2 MHz/2,3 MHz/0,4 MHz/4,BAND 05/0",
         "Ant_Mod=Q4|Ant_Band=2 MHz|reply rn"},
        {"CX,a/abc,b/9\r\n", false, "X|a MHz/1,b MHz/9,3 MHz/0,4 MHz/4,BAND 05/0",
         "Ant_Mod=X|Ant_Band=b MHz"},
        {"CY,5/3\n", true, "X|a MHz/1,b MHz/9,3 MHz/0,4 MHz/4,BAND 05/0",
         "Ant_Mod=X|Ant_Band=b MHz|reply rn"},
        {"CANT UNKNOWN\r\n", true, "ANT UNKNOWN|BAND 01/0,BAND 02/0,BAND 03/0,BAND 04/0,BAND 05/0",
         "Ant_Mod=ANT UNKNOWN|Ant_Band=BAND 02|reply rn"},
    };
    for (const auto& [line, ack, stored, log] : steps) {
        LoadAntSettings(r.st, ParseAntennaLine(line), ack);
        std::string got = r.st.antenna.Ant_Model;
        for (std::size_t i = 1; i <= 5; ++i) {
            char b[64];
            std::snprintf(b, sizeof b, "%s/%g", r.st.antenna.BandText[i].c_str(),
                          static_cast<double>(r.st.antenna.BandOffset[i]));
            got += (i == 1 ? "|" : ",") + std::string(b);
        }
        EXPECT_EQ(got, stored) << line;
        EXPECT_EQ(drawn(r), log) << line;
    }
    EXPECT_TRUE(r.st.antenna.BandText[16].empty() && r.st.antenna.BandText[0].empty());
    r.line.close();
    LoadAntSettings(r.st, ParseAntennaLine("CZ,7\r\n"), true);
    EXPECT_EQ(drawn(r), "Ant_Mod=Z|Ant_Band=BAND 02");
}

}  // namespace
}  // namespace kestrova::testing
