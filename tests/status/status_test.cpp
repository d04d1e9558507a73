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

}  // namespace
}  // namespace kestrova::testing
