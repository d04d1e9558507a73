#include "tools/sim/Options.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <istream>
#include <optional>
#include <sstream>
#include <string_view>

#include "core/Numbers.h"

namespace kestrova::sim {

namespace {

constexpr std::array<const char*, kFaultKinds> kFaultNames = {"garbage", "lost-eol", "cut-bearing",
                                                              "lower-case", "stop-resume"};

std::string_view trim(std::string_view s) {
    return Trimmed(s, " \t\r");
}

bool toNumber(std::string_view text, double& out) {
    const std::string s(trim(text));
    if (s.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(s.c_str(), &end);
    if (errno != 0 || end != s.c_str() + s.size() || !(v >= 0) || v > 1e7) {
        return false;
    }
    out = v;
    return true;
}

bool toSeed(std::string_view text, std::uint64_t& out) {
    const std::string s(trim(text));
    if (s.empty() || s[0] == '-') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const unsigned long long v = std::strtoull(s.c_str(), &end, 10);
    if (errno != 0 || end != s.c_str() + s.size()) {
        return false;
    }
    out = v;
    return true;
}

bool toFault(std::string_view name, Fault& out) {
    for (std::size_t i = 0; i < kFaultKinds; ++i) {
        if (name == kFaultNames[i]) {
            out = static_cast<Fault>(i);
            return true;
        }
    }
    return false;
}

// Splits "word rest": rest keeps its inner blanks, loses one separating blank.
std::pair<std::string_view, std::string_view> word(std::string_view s) {
    s = s.substr(std::min(s.size(), s.find_first_not_of(" \t")));
    const auto sp = s.find_first_of(" \t");
    if (sp == std::string_view::npos) {
        return {s, {}};
    }
    return {s.substr(0, sp), s.substr(sp + 1)};
}

// Text arguments are taken as written (a status field may hold blanks), less a CR left by a
// file saved with DOS line ends.
std::string text(std::string_view s) {
    if (!s.empty() && s.back() == '\r') {
        s.remove_suffix(1);
    }
    return std::string(s);
}

// The events that last a number of seconds.
struct Timed {
    const char* name;
    Event::Kind kind;
};
constexpr Timed kTimed[] = {{"pause", Event::Kind::Pause},
                            {"gps-gap", Event::Kind::GpsGap},
                            {"compass-off", Event::Kind::CompassOff},
                            {"tune", Event::Kind::Tune},
                            {"stop", Event::Kind::Stop},
                            {"noise-stop", Event::Kind::NoiseStop}};

std::string parseEvent(std::string_view args, Options& opt) {
    auto [when, rest] = word(args);
    auto [what, arg] = word(rest);
    Event e;
    if (!toNumber(when, e.at)) {
        return "\"at\" needs a time in seconds";
    }
    const auto* timed = std::find_if(std::begin(kTimed), std::end(kTimed),
                                     [name = what](const Timed& t) { return name == t.name; });
    if (timed != std::end(kTimed)) {
        e.kind = timed->kind;
        if (!toNumber(arg, e.length)) {
            return std::string("\"at T ") + timed->name + "\" needs a length in seconds";
        }
        opt.events.push_back(e);
        return "";
    }
    if (what == "status" || what == "antenna") {
        e.kind = what == "status" ? Event::Kind::Status : Event::Kind::Antenna;
        e.text = text(arg);
        opt.events.push_back(e);
        return "";
    }
    if (what == "fault") {
        e.kind = Event::Kind::Inject;
        if (!toFault(trim(arg), e.fault)) {
            return "unknown fault \"" + std::string(trim(arg)) + "\"";
        }
        opt.events.push_back(e);
        return "";
    }
    return "unknown event \"" + std::string(what) + "\"";
}

std::string setFault(std::string_view name, Options& opt) {
    if (name == "all") {
        opt.faults.fill(true);
        return "";
    }
    Fault f;
    if (!toFault(name, f)) {
        return "unknown fault \"" + std::string(name) + "\"";
    }
    opt.faults[static_cast<std::size_t>(f)] = true;
    return "";
}

// A directive giving seconds: its error, "" when set, nothing when `key` names no such one.
std::optional<std::string> applySeconds(std::string_view key, std::string_view value,
                                        const std::string& name, Options& opt) {
    struct Num {
        const char* name;
        double Options::*field;
        bool positive;
    };
    static constexpr Num kNumbers[] = {
        {"duration", &Options::duration, true},
        {"status-every", &Options::statusEvery, true},
        {"gps-every", &Options::gpsEvery, true},
        {"antenna-every", &Options::antennaEvery, false},
        {"pause-first", &Options::pauseFirst, false},
        {"pause-every", &Options::pauseEvery, false},
        {"pause-length", &Options::pauseLength, false},
        {"gps-gap-first", &Options::gpsGapFirst, false},
        {"gps-gap-every", &Options::gpsGapEvery, false},
        {"gps-gap-length", &Options::gpsGapLength, false},
        {"fault-every", &Options::faultEvery, true},
    };
    for (const auto& n : kNumbers) {
        if (key == n.name) {
            double v = 0;
            if (!toNumber(value, v) || (n.positive && v <= 0)) {
                return name + " needs a number of seconds" + (n.positive ? " above 0" : "");
            }
            opt.*n.field = v;
            if (key == "duration") {
                opt.durationSet = true;
            }
            return "";
        }
    }
    return std::nullopt;
}

// A directive naming a file, as applySeconds().
std::optional<std::string> applyPath(std::string_view key, std::string_view value,
                                     const std::string& name, Options& opt) {
    struct Str {
        const char* name;
        std::string Options::*field;
    };
    static constexpr Str kStrings[] = {{"link", &Options::link},
                                       {"replay", &Options::replay},
                                       {"record", &Options::record},
                                       {"scenario", &Options::scenario}};
    for (const auto& s : kStrings) {
        if (key == s.name) {
            if (trim(value).empty()) {
                return name + " needs a path";
            }
            opt.*s.field = std::string(trim(value));
            return "";
        }
    }
    return std::nullopt;
}

// One directive shared by scenario lines and flags taking a value.
std::string apply(std::string_view key, std::string_view value, Options& opt, bool& known,
                  bool asFlag = false) {
    known = true;
    const std::string name = asFlag ? "--" + std::string(key) : "\"" + std::string(key) + "\"";
    if (auto error = applySeconds(key, value, name, opt)) {
        return *error;
    }
    if (auto error = applyPath(key, value, name, opt)) {
        return *error;
    }
    if (key == "seed") {
        return toSeed(value, opt.seed) ? "" : name + " needs a whole number";
    }
    if (key == "pauses") {
        if (trim(value) == "off") {
            opt.pauseEvery = 0;
            opt.gpsGapEvery = 0;
            return "";
        }
        return trim(value) == "on" ? "" : name + " takes on or off";
    }
    if (key == "fault") {
        return setFault(trim(value), opt);
    }
    if (auto error = applyDriveDirective(key, value, opt.drive)) {
        return *error;
    }
    known = false;
    return "";
}

bool takesValue(std::string_view flag) {
    static constexpr const char* kWithValue[] = {"link",   "duration", "seed",        "scenario",
                                                 "replay", "record",   "fault-every", "gps-every"};
    return flag.starts_with("drive-") || std::any_of(std::begin(kWithValue), std::end(kWithValue),
                                                     [&](const char* f) { return flag == f; });
}

}  // namespace

const char* faultName(Fault f) {
    return kFaultNames[static_cast<std::size_t>(f)];
}

bool Options::anyFault() const {
    return std::find(faults.begin(), faults.end(), true) != faults.end();
}

std::string parseScenario(std::istream& in, Options& opt) {
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const auto body = trim(line);
        if (body.empty() || body[0] == '#') {
            continue;
        }
        auto [key, rest] = word(line);
        std::string error;
        bool known = true;
        if (key == "at") {
            error = parseEvent(rest, opt);
        } else if (key == "cycle") {
            opt.cycle.push_back(text(rest));
        } else if (key == "antenna") {
            opt.antennas.push_back(text(rest));
        } else if (key == "scenario") {
            error = "a scenario cannot name another scenario";
        } else {
            error = apply(key, rest, opt, known);
            if (!known) {
                error = "unknown directive \"" + std::string(key) + "\"";
            }
        }
        if (!error.empty()) {
            return "line " + std::to_string(number) + ": " + error;
        }
    }
    return "";
}

namespace {

struct Flag {
    std::string name;
    std::string value;
    bool hasValue;
};

// The command line as flags with their values; an error for an argument that is none.
std::string collectFlags(int argc, const char* const* argv, std::vector<Flag>& flags) {
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        if (a.substr(0, 2) != "--" || a.size() == 2) {
            return "unexpected argument \"" + std::string(a) + "\"";
        }
        a.remove_prefix(2);
        Flag f;
        if (const auto eq = a.find('='); eq != std::string_view::npos) {
            f = {std::string(a.substr(0, eq)), std::string(a.substr(eq + 1)), true};
        } else if (takesValue(a)) {
            if (i + 1 >= argc) {
                return "--" + std::string(a) + " needs a value";
            }
            f = {std::string(a), argv[++i], true};
        } else {
            f = {std::string(a), "", false};
        }
        flags.push_back(f);
    }
    return "";
}

// The scenario files named, first, so that the other flags override them.
std::string readScenarios(const std::vector<Flag>& flags, Options& opt) {
    for (const auto& f : flags) {
        if (f.name != "scenario") {
            continue;
        }
        opt.scenario = f.value;
        std::ifstream in(f.value);
        if (!in) {
            return "cannot read scenario \"" + f.value + "\"";
        }
        if (auto error = parseScenario(in, opt); !error.empty()) {
            return f.value + ": " + error;
        }
    }
    return "";
}

// A flag without a value.
std::string applySwitch(const std::string& name, Options& opt) {
    if (name == "help") {
        opt.help = true;
    } else if (name == "verbose") {
        opt.verbose = true;
    } else if (name == "no-pauses") {
        opt.pauseEvery = 0;
        opt.gpsGapEvery = 0;
    } else if (name == "faults") {
        opt.faults.fill(true);
    } else if (auto error = setFault(name, opt); !error.empty()) {
        return "unknown flag --" + name;
    }
    return "";
}

}  // namespace

std::string parseArgs(int argc, const char* const* argv, Options& opt) {
    std::vector<Flag> flags;
    if (auto error = collectFlags(argc, argv, flags); !error.empty()) {
        return error;
    }
    if (auto error = readScenarios(flags, opt); !error.empty()) {
        return error;
    }
    for (const auto& f : flags) {
        if (f.name == "scenario") {
            continue;
        }
        if (!f.hasValue) {
            if (auto error = applySwitch(f.name, opt); !error.empty()) {
                return error;
            }
            continue;
        }
        if (!takesValue(f.name)) {
            return "--" + f.name + " takes no value";
        }
        bool known = true;
        if (auto error = apply(f.name, f.value, opt, known, true); !error.empty()) {
            return error;
        }
    }
    if (!opt.replay.empty() && opt.anyFault()) {
        return "faults change the generated stream; they cannot be combined with --replay";
    }
    return checkDrive(opt.drive);
}

}  // namespace kestrova::sim
