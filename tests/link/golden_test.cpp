// Golden data: recorded input against golden logs, and packets against their records. Each
// recording in tests/golden/ arrives at the station at its own times, on the fake clock, polled by
// the 2 ms timer and by virtual ticks; what the window was told (texts, pictures, the needle, the
// meters), the replies and what the listeners heard, each with its moment, must be the .log beside
// it in both. Set KESTROVA_GOLDEN=update to write the logs instead, and read the difference before
// keeping it.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "app/CommandLine.h"
#include "app/ViewOptions.h"
#include "core/Numbers.h"
#include "display/Bearing.h"
#include "display/Gps.h"
#include "display/Meters.h"
#include "display/Polar.h"
#include "link/DeviceState.h"
#include "output/OperatorOptions.h"
#include "output/Recording.h"
#include "settings/Store.h"
#include "tests/app/StartRig.h"
#include "tests/fakes/StationRig.h"
#include "tests/settings/PortsRig.h"
#include "tools/sim/Replay.h"
#include "tools/sim/Replies.h"

namespace kestrova::testing {
namespace {

const std::filesystem::path kGolden = KESTROVA_SOURCE_DIR "/tests/golden";

std::string readAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Bytes a reader would not see as \xHH, and the backslash as \x5C.
std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", u);
        out += u >= 32 && u < 127 && c != '\\' ? std::string(1, c) : hex;
    }
    return out;
}

// "\r", "\n", "\\" and "\xHH" back to their bytes.
std::string unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
        } else if (text[++i] == 'x') {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += text[i] == 'r' ? '\r' : text[i] == 'n' ? '\n' : text[i];
        }
    }
    return out;
}

// Everything written one after another, as a stream writes it.
template <class... T>
std::string cat(const T&... parts) {
    std::ostringstream s;
    (s << ... << parts);
    return s.str();
}

// Compares `got` with the golden file, or writes it there when asked.
void expectGolden(const std::string& got, const std::filesystem::path& golden) {
    if (std::getenv("KESTROVA_GOLDEN") != nullptr) {
        std::ofstream(golden, std::ios::binary) << got;
    }
    EXPECT_EQ(got, readAll(golden));
}

// The log, a line an entry.
std::string logOf(const recording::Contents& input, Poll how) {
    StationRig r(how);
    r.timed();
    r.window.readings = true;
    r.st.dataFolder = "/prog";
    for (const recording::Chunk& c : input.chunks) {
        r.arriveAt(static_cast<long>(c.milliseconds), c.bytes);
    }
    r.start();
    r.clock.advance((input.chunks.back().milliseconds + 8000) | 1);
    std::string out;
    for (const std::string& entry : r.window.log) {
        out += escaped(entry) + '\n';
    }
    return out;
}

TEST(Golden, RecordingsGiveTheirLogsOnBothPolls) {
    int played = 0;
    for (const auto& file : std::filesystem::directory_iterator(kGolden)) {
        if (file.path().extension() != ".rec") {
            continue;
        }
        SCOPED_TRACE(file.path().filename().string());
        const recording::Contents input = recording::parse(readAll(file.path()));
        ASSERT_TRUE(input.whole && !input.chunks.empty()) << input.problem;
        const std::string log = logOf(input, Poll::VirtualTicks);
        expectGolden(log, std::filesystem::path(file.path()).replace_extension(".log"));
        EXPECT_EQ(logOf(input, Poll::Timer4), log);
        ++played;
    }
    EXPECT_GE(played, 2);
}

template <class T>
std::string optional(const std::optional<T>& v) {
    return v ? cat(+*v) : "none";
}

// The record of a packet of each kind, as a line.
std::string statusRecord(std::string_view text) {
    const StatusLine s = ParseStatusLine(text);
    return cat("read ", s.fieldsRead, " reply ", escaped(ReplyText(StatusReply(s))), " mount ",
               "AGO"[static_cast<int>(s.mountIs)], " band ", optional(s.bandIndex), " mode ",
               "DRU"[static_cast<int>(s.modeIs)], " power ", "BRDCU"[static_cast<int>(s.powerIs)],
               " | ", escaped(FormatStatusLine(s)));
}

std::string antennaRecord(std::string_view text) {
    const AntennaLine a = ParseAntennaLine(text);
    std::string out = a.unknown ? "unknown" : a.wellFormed ? "model " + a.model : "outside";
    for (const AntennaLine::Band& b : a.bands) {
        out += cat(" | ", escaped(b.text), " / ", b.offset ? cat(*b.offset) : "-");
    }
    return out;
}

std::string bearingRecord(std::string_view text) {
    const BearingPacket b = ParseBearingPacket(text);
    return std::string(b.framed ? "framed" : "cut") + (b.flag ? "" : ", no flag") + " | " +
           escaped(FormatBearingPacket(b));
}

std::string gpsRecord(std::string_view text) {
    const auto fix = ParseGpsPacket(text);
    if (!fix) {
        return "no fix";
    }
    std::string out = escaped(FormatGpsPacket(*fix));
    for (const std::string& label : GpsLabels(*fix)) {
        out += " | " + escaped(label);
    }
    const GeoPosition at = PositionOf(*fix);
    return out + cat(std::fixed, std::setprecision(6), " | ", at.latitude, ",", at.longitude);
}

using Kinds = std::map<std::string, std::string (*)(std::string_view)>;

// Each case of a file, "kind text", followed by what its kind's function makes of the text.
void expectCases(const std::string& name, const Kinds& kinds) {
    std::istringstream in(readAll(kGolden / (name + ".txt")));
    std::string out;
    for (std::string line; std::getline(in, line);) {
        out += line + '\n';
        const std::size_t blank = line.find(' ');
        if (line.starts_with('#') || blank == std::string::npos) {
            continue;
        }
        const auto kind = kinds.find(line.substr(0, blank));
        ASSERT_NE(kind, kinds.end()) << line;
        out += "  " + kind->second(unescaped(line.substr(blank + 1))) + '\n';
    }
    expectGolden(out, kGolden / (name + ".log"));
}

TEST(Golden, PacketsGiveTheirRecords) {
    expectCases("packets", {{"status", statusRecord},
                            {"antenna", antennaRecord},
                            {"bearing", bearingRecord},
                            {"gps", gpsRecord}});
}

std::string number(std::string_view text) {
    const double v = LeadingNumber(text);
    return cat(std::setprecision(17), v, " away ", optional(RoundHalfAwayFromZero(v)), " even16 ",
               optional(RoundHalfEvenToInt16(v)));
}

std::string escapes(std::string_view text) {
    const auto decoded = Store::DecodeHexEscapes(text);
    return decoded ? escaped(*decoded) : "bad";
}

// The arguments between "|".
std::string commandLine(std::string_view text) {
    std::vector<std::string> args;
    for (std::size_t at = 0; !text.empty() && at != std::string_view::npos;) {
        const std::size_t bar = text.find('|', at);
        args.emplace_back(text.substr(at, bar - at));
        at = bar == std::string_view::npos ? bar : bar + 1;
    }
    const ParsedCommandLine p = ParseCommandLine(args);
    return cat("port ", p.options.port, " | settings ", p.options.settings, " | help ",
               p.options.help, " version ", p.options.version, " | ", p.error);
}

std::string viewOptions(const ViewOptions& o) {
    return cat("history ", optional(o.history), " night ",
               optional(o.palette ? std::optional(*o.palette == Palette::Night) : std::nullopt),
               " scale ", optional(o.scale));
}

// "OPTION VALUE".
std::string viewOption(std::string_view text) {
    ViewOptions o;
    const std::size_t blank = text.find(' ');
    const std::string error = TakeViewOption(o, text.substr(0, blank), text.substr(blank + 1));
    return viewOptions(o) + " | " + error;
}

// "OPTION VALUE ...|KEY=VALUE;...": the command line's options, then the settings file's.
std::string viewSettings(std::string_view text) {
    ViewOptions commandLine;
    std::istringstream words(std::string(text.substr(0, text.find('|'))));
    for (std::string option, value; words >> option >> value;) {
        TakeViewOption(commandLine, option, value);
    }
    std::map<std::string, std::string> settings;
    std::istringstream pairs(std::string(text.substr(text.find('|') + 1)));
    for (std::string pair; std::getline(pairs, pair, ';');) {
        settings[pair.substr(0, pair.find('=') + 1)] = pair.substr(pair.find('=') + 1);
    }
    std::string reports;
    const ViewOptions o = ResolveViewOptions(
        commandLine, [&settings](const std::string& key) { return settings[key]; },
        [&reports](std::string_view m) { reports += " | " + std::string(m); });
    return viewOptions(o) + reports;
}

// "NUL ACK REJECT STRAY SECONDS" answers against 3..4 acknowledgements and 1 rejection.
std::string judged(std::string_view text) {
    std::istringstream in{std::string(text)};
    sim::AnswerCounts got;
    double seconds = 0;
    in >> got.nul >> got.ack >> got.reject >> got.stray >> seconds;
    const sim::Verdict v = sim::judge(got, {3, 4, 1, 1}, seconds);
    return v.ok ? "OK" : v.problems;
}

// What the simulator counts in the display's answers: "nul ack reject stray", the same
// wherever the stream is cut in three.
std::string answers(std::string_view text) {
    const std::string stream(text);
    std::set<std::string> seen;
    for (std::size_t a = 0; a <= stream.size(); ++a) {
        for (std::size_t b = a; b <= stream.size(); ++b) {
            sim::AnswerParser p;
            p.feed(stream.substr(0, a));
            p.feed(stream.substr(a, b - a));
            p.feed(stream.substr(b));
            p.finish();
            const sim::AnswerCounts& c = p.counts();
            seen.insert(cat(c.nul, " ", c.ack, " ", c.reject, " ", c.stray));
        }
    }
    return seen.size() == 1 ? *seen.begin() : "differs with the cuts";
}

std::string outputOption(std::string_view text) {
    return CheckOutputFileOption("--record", text);
}

// A settings file: the RxCOMport read from it, then written "&h3D": the result, the settings
// file and backup after (none: no such file), and the status line.
std::string settingsFile(std::string_view text) {
    StoreRig r{std::string(text)};
    const std::string read = r.read("RxCOMport");
    const WriteResult wrote = r.write("RxCOMport", "&h3D");
    const auto file = [&r](const char* name) {
        const auto content = r.get(name);
        return content ? escaped(*content) : "none";
    };
    return cat("read ", escaped(read), " | write ", static_cast<int>(wrote), " | ini ",
               file("Kestrova.ini"), " | bak ", file("Kestrova.bak"), " | ", r.status(),
               " | files ", r.filesInFolder(), r.boxes.boxes.empty() ? "" : " | box");
}

// The window placed from a settings file (the backup the same).
std::string placement(std::string_view text) {
    StoreRig r{std::string(text), std::string(text)};
    r.store.LoadWindowPosition();
    return cat(r.window.hidden ? "hidden" : "shown", " top ", optional(r.window.top), " left ",
               optional(r.window.left), " | status ", r.statusWrites());
}

// Start-up's port from a settings file ("run DEVICE|" before it: a device for this run): the
// port opened, the devices ports are on, the boxes, the status line, the line's options.
std::string startupPort(std::string_view text) {
    const bool run = text.starts_with("run ");
    const std::size_t bar = run ? text.find('|') : std::string_view::npos;
    const std::string ini(run ? text.substr(bar + 1) : text);
    PortsRig r(ini.empty() ? OptText{} : OptText{ini});
    if (run) {
        r.devices.setRunDevice(std::string(text.substr(4, bar - 4)));
    }
    r.ports.InitializeSerialComm();
    std::string out = cat("port ", r.line.portNumber(), r.line.isOpen() ? " open |" : " closed |");
    for (const std::int16_t port : std::array<std::int16_t, 8>{1, 2, 3, 4, 5, 13, 16, 17}) {
        out += cat(" ", port, "=", r.devices.deviceFor(port));
    }
    const LineOptions& o = r.line.options;
    const std::vector<Box>& boxes = r.boxes.boxes;
    const char* box = boxes.empty()                        ? "no box"
                      : boxes == std::vector{kUnavailable} ? "unavailable"
                                                           : "?";
    return cat(out, " | ", box, " | ", r.status(), " | options ",
               r.line.optionsSet && !o.handshaking && !o.rts && !o.dtr, " stay-alive ",
               r.StayAliveTmr.isRunning(), " settings kept ",
               r.get("Kestrova.ini") == ini && r.get("Kestrova.bak") == ini);
}

// Start-up on a settings file: what the window shell and the status line were asked.
std::string startup(std::string_view text) {
    StartRig r{std::string(text)};
    const bool started = r.run();
    return cat(started ? "started" : "ended", " | configure ",
               r.display.isVisible(El::butConfig) ? "shown" : "hidden", " | on top ",
               r.shell.onTop.size(), " | ", r.status());
}

// Everything start-up did on a settings file (none: ""), with a packet already waiting: the
// window's log (the data folder as DATA), the line, the timers, replies, boxes and tables.
std::string startupWhole(std::string_view text) {
    StartRig r{std::string(text)};
    r.line.incoming = "B3068204 S42045P\r\n";
    const bool started = r.run();
    std::string log = r.display.takeLog(), boxes;
    if (const std::size_t at = log.find(r.folder.string()); at != std::string::npos) {
        log.replace(at, r.folder.string().size(), "DATA");
    }
    for (const Box& b : r.boxes.boxes) {
        boxes += " " + b.title + ": " + b.text;
    }
    return cat(started ? "started" : "ended", " ", r.endCalls, " | ", escaped(log), " | hidden ",
               r.window.hidden, " | port ", r.line.portNumber(), " open ", r.line.isOpen(),
               " | stay-alive ", r.StayAliveTmr.isRunning(), " poll ", r.Timer4.isRunning(),
               " polls ", r.polls, " | rx ", escaped(r.st.link.RxBuffer), " | replies ",
               escaped(r.line.written), " | boxes", boxes, " | ", r.st.antenna.BandText[1], " mag ",
               +r.st.bearing.MagTable[3][4], " | ", r.status());
}

// The view options a settings file holds, through the store.
std::string viewStore(std::string_view text) {
    StoreRig r{std::string(text), "RxCOMport=1\r\n"};
    const std::string read = viewOptions(ReadViewOptions(r.store, {}));  // before the status
    return cat(read, " | ", r.status(), " | boxes ", r.boxes.boxes.size());
}

// A device at a loss and now, each "gone", "serial", "pty", with ">TARGET@INODE" when it is a
// link: whether the name (before them, "|" between) is reopened.
DeviceState deviceOf(std::string_view text) {
    DeviceState s;
    s.exists = text != "gone";
    s.characterDevice = s.exists && text != "folder";
    s.folder = text == "folder";
    s.accessible = text != "locked";
    s.pseudoTerminal = text.starts_with("pty");
    if (const std::size_t arrow = text.find('>'); arrow != std::string_view::npos) {
        s.link = true;
        s.linkTarget = text.substr(arrow + 1, text.find('@') - arrow - 1);
        s.linkInode = std::stoul(std::string(text.substr(text.find('@') + 1)));
    }
    return s;
}

std::string reopened(std::string_view text) {
    const std::size_t a = text.find('|'), b = text.find('|', a + 1);
    return MayReopen(std::string(text.substr(0, a)), deviceOf(text.substr(a + 1, b - a - 1)),
                     deviceOf(text.substr(b + 1)))
               ? "reopened"
               : "left";
}

// Why a device (as above, or "folder", "locked") did not open, "busy|" before it when it was,
// the system's words after it.
std::string reason(std::string_view text) {
    const bool busy = text.starts_with("busy|");
    const std::string_view rest = text.substr(busy ? 5 : 0);
    const std::size_t bar = rest.find('|');
    return OpenFailureReason(deviceOf(rest.substr(0, bar)), busy,
                             std::string(rest.substr(bar + 1)));
}

// A file read as a recording: its note and chunks ("milliseconds:bytes"), and where and why
// the reading stopped.
std::string recordingOf(std::string_view text) {
    if (!recording::isRecording(text)) {
        return "not a recording";
    }
    const recording::Contents c = recording::parse(text);
    std::string out = cat("note ", escaped(c.note), " |");
    for (const recording::Chunk& chunk : c.chunks) {
        out += cat(" ", chunk.milliseconds, ":", escaped(chunk.bytes));
    }
    return c.whole ? out : cat(out, " | record ", c.record, " at ", c.stoppedAt, ": ", c.problem);
}

// A file the simulator is asked to replay: whether it is played at its times, what goes out
// and where a damaged one stopped.
std::string replayed(std::string_view text) {
    const sim::Replay replay = sim::loadReplay(std::string(text));
    std::string sent;
    for (sim::Piece p; replay.source->next(p);) {
        sent += p.bytes;
    }
    return cat(replay.timed ? "timed" : "at line pace", " | ", escaped(sent), " | ",
               replay.warning);
}

std::string usage(std::string_view) {
    return escaped(UsageText()) + " | " + escaped(VersionText());
}

TEST(Golden, TextsGiveTheirValues) {
    expectCases("texts", {{"number", number},
                          {"escapes", escapes},
                          {"command-line", commandLine},
                          {"view-option", viewOption},
                          {"output-option", outputOption},
                          {"settings-file", settingsFile},
                          {"placement", placement},
                          {"startup-port", startupPort},
                          {"view-settings", viewSettings},
                          {"judged", judged},
                          {"startup", startup},
                          {"startup-whole", startupWhole},
                          {"view-store", viewStore},
                          {"reopened", reopened},
                          {"reason", reason},
                          {"answers", answers},
                          {"recording", recordingOf},
                          {"replay", replayed},
                          {"usage", usage}});
}

// One step of display.txt on the station, and the bearing state after it.
void displayStep(StationRig& r, const std::string& command, std::istringstream& args) {
    BearingRecord& b = r.st.bearing;
    if (command == "set") {
        for (std::string kv; args >> kv;) {
            const std::string key = kv.substr(0, kv.find('=')), v = kv.substr(kv.find('=') + 1);
            const int n = std::atoi(v.c_str());
            const auto i16 = static_cast<std::int16_t>(n);
            if (key == "band")
                r.st.status.BandIndex = static_cast<std::uint8_t>(n);
            if (key == "offset")
                r.st.antenna.BandOffset[5] = std::strtof(v.c_str(), nullptr);
            if (key == "rel")
                b.RelBearMode = n != 0;
            if (key == "flag")
                b.CompassFlag = v[0];
            if (key == "heading")
                b.CompassHeading = i16;
            if (key == "air")
                r.st.status.AntAirMount = n != 0;
            if (key == "twips")
                r.window.twipsPerPixel = std::strtod(v.c_str(), nullptr);
            if (key == "vect")
                b.VectX = i16,
                b.VectY = static_cast<std::int16_t>(std::atoi(v.substr(v.find(',') + 1).c_str()));
            if (key == "mag")
                b.SignalMag = i16;
            if (key == "doa")
                b.DOA_Tenths = i16;
        }
    } else if (command == "line" || command == "compass") {
        std::string packet;
        std::getline(args >> std::ws, packet);
        const BearingPacket p = ParseBearingPacket(unescaped(packet));
        command == "line" ? DrawLine(r.st, p) : CompassUpdate(r.st, p);
    } else if (command == "readout") {
        DrawDigitalDOA(r.st);
    } else if (command == "meter") {
        std::string which;
        int value = 0;
        args >> which >> value;
        Draw_Meter(r.st, which == "S", value);
    } else if (command == "polar") {
        int x = 0, y = 0, offset = 0, rel = 0, heading = 0, air = 0;
        args >> x >> y >> offset >> rel >> heading >> air;
        Draw_Polar(r.st, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                   static_cast<std::int16_t>(offset), rel != 0, static_cast<std::int16_t>(heading),
                   air != 0);
    }
}

// The bearing state after a step.
std::string displayState(StationRig& r) {
    const BearingRecord& b = r.st.bearing;
    return cat(escaped(r.window.takeLog()), " | vect ", b.VectX, ",", b.VectY, " mag ", b.SignalMag,
               " doa ", b.DOA_Tenths, " heading ", b.CompassHeading,
               b.RelBearMode ? " REL " : " ABS ", b.CompassFlag);
}

// A script of steps on a rig: "new" makes a fresh one, "#" lines are remarks, each other
// line is a step followed by the rig's state, unless its command only sets something up.
template <class Rig>
void expectScript(const std::string& name,
                  void (*step)(Rig&, const std::string&, std::istringstream&),
                  std::string (*state)(Rig&), std::set<std::string> quiet) {
    std::istringstream in(readAll(kGolden / (name + ".txt")));
    std::string out;
    auto r = std::make_unique<Rig>();
    for (std::string line; std::getline(in, line);) {
        out += line + '\n';
        std::istringstream args(line);
        std::string command;
        args >> command;
        if (command == "new") {
            r = std::make_unique<Rig>();
            r->logReplies();
        } else if (!command.empty() && command[0] != '#') {
            step(*r, command, args);
            out += quiet.contains(command) ? "" : "  " + state(*r) + '\n';
        }
    }
    expectGolden(out, kGolden / (name + ".log"));
}

TEST(Golden, DisplayStepsGiveTheirLogs) {
    expectScript<StationRig>("display", displayStep, displayState, {"set"});
}

// One step of link.txt on the receive link, its decoders recorded.
void linkStep(LinkRig& r, const std::string& command, std::istringstream& args) {
    std::string text;
    std::getline(args >> std::ws, text);
    const std::string bytes = unescaped(text);
    const long n = std::atol(text.c_str());
    if (command == "arrive") {
        r.line.incoming += bytes;
    } else if (command == "tick") {
        r.tick(static_cast<int>(std::max(1L, n)));
    } else if (command == "advance") {
        r.clock.advance(n);
    } else if (command == "event") {
        r.line.raiseEvent();
    } else if (command == "close") {
        r.line.close();
    } else if (command == "start") {
        r.start();
    } else if (command == "timer") {
        r.Timer4.start();
    } else if (command == "busy") {
        r.st.link.BusyTickCount = static_cast<std::uint8_t>(n);
    } else if (command == "buffer") {
        r.st.link.RxBuffer = bytes;
    }
}

// What the link did since the last look: its calls and the window's log, then its state.
std::string linkState(LinkRig& r) {
    std::string calls;
    for (const DecoderCall& c : r.decoders.calls) {
        calls += " " + c.name + (c.args.empty() ? "" : "(" + escaped(c.args) + ")");
    }
    r.decoders.calls.clear();
    const LinkRecord& l = r.st.link;
    return cat("calls", calls, " | ", escaped(r.window.takeLog()), " | rx ", escaped(l.RxBuffer),
               " | busy ", +l.BusyTickCount, " idle ", +l.IdleTickCount, " state ", l.LinkState,
               " count ", +l.BPacketCount, " timer1 ", r.Timer1.isRunning());
}

TEST(Golden, LinkStepsGiveTheirLogs) {
    expectScript<LinkRig>("link", linkStep, linkState, {"arrive", "busy", "buffer"});
}

}  // namespace
}  // namespace kestrova::testing
