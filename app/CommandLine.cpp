#include "app/CommandLine.h"

#include "app/Version.h"
#include "net/Endpoint.h"

namespace kestrova {

namespace {

// Stores a value into its field; returns what is wrong with it, "" when nothing.
using Setter = std::string (*)(CommandLine&, std::string_view value);

template <auto Field>
std::string setFlag(CommandLine& c, std::string_view) {
    c.*Field = true;
    return {};
}

template <auto Field>
std::string setText(CommandLine& c, std::string_view value) {
    c.*Field = std::string(value);
    return {};
}

std::string addressError(std::string_view option, std::string_view value,
                         const ParsedEndpoint& parsed) {
    return parsed.endpoint ? std::string()
                           : std::string(option) + " " + std::string(value) + ": " + parsed.error;
}

struct Option {
    std::string_view name;   // with its dashes
    std::string_view value;  // the value's name in the help; "" for a flag
    std::string_view help;
    Setter set;
};

// One row per option.
constexpr Option kOptions[] = {
    {"--port", "DEVICE",
     "at start-up, open DEVICE (such as /dev/ttyUSB0, or\n"
     "tcp://HOST:PORT and rfc2217://HOST:PORT of a serial\n"
     "server, or kestrova://HOST:PORT to watch another\n"
     "Kestrova) in place of the configured one; for this\n"
     "run only, not stored",
     [](CommandLine& c, std::string_view v) {
         c.port = std::string(v);
         return IsNetworkName(v) ? addressError("--port", v, ParseEndpoint(v)) : std::string();
     }},
    {"--share", "[ADDR:]PORT",
     "publish what is received to watchers on PORT of ADDR\n"
     "(127.0.0.1 unless given)",
     [](CommandLine& c, std::string_view v) {
         c.share = std::string(v);
         return addressError("--share", v, ParseShareAddress(v));
     }},
    {"--settings", "DIR",
     "keep Kestrova.ini and Kestrova.bak in the folder DIR;\n"
     "an empty folder is given the default settings",
     setText<&CommandLine::settings>},
    {"--record", "FILE",
     "record everything received, with its arrival times, in\n"
     "FILE (kestrova-sim --replay FILE plays it back)",
     [](CommandLine& c, std::string_view v) {
         c.outputs.recordFile = std::string(v);
         return CheckOutputFileOption("--record", v);
     }},
    {"--bearing-log", "FILE", "append a CSV row to FILE for every bearing shown",
     [](CommandLine& c, std::string_view v) {
         c.outputs.bearingLogFile = std::string(v);
         return CheckOutputFileOption("--bearing-log", v);
     }},
    {"--history", "N", "keep the last N bearings (1 to 360) as marks on the dial",
     [](CommandLine& c, std::string_view v) { return TakeViewOption(c.view, "--history", v); }},
    {"--night", "", "dim red on black, for night use",
     [](CommandLine& c, std::string_view) {
         c.view.palette = Palette::Night;
         return std::string();
     }},
    {"--scale", "F", "draw the window F times larger (1 to 3)",
     [](CommandLine& c, std::string_view v) { return TakeViewOption(c.view, "--scale", v); }},
    {"--map", "", "open the map window at start-up",
     [](CommandLine& c, std::string_view) {
         c.map.open = true;
         return std::string();
     }},
    {"--map-tiles", "PATH",
     "draw the map on the tiles in PATH, a z/x/y.png folder\n"
     "or an MBTiles file (never fetched from a network)",
     [](CommandLine& c, std::string_view v) {
         c.map.tiles = std::string(v);
         return std::string();
     }},
    {"--help", "", "show this help and exit", setFlag<&CommandLine::help>},
    {"--version", "", "show the version and exit", setFlag<&CommandLine::version>},
};

const Option* find(std::string_view name) {
    for (const Option& o : kOptions) {
        if (o.name == name) {
            return &o;
        }
    }
    return nullptr;
}

std::string quoted(std::string_view s) {
    return "'" + std::string(s) + "'";
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine out;
    for (std::size_t i = 0; i < args.size() && out.error.empty(); ++i) {
        const std::string_view arg = args[i];
        const std::size_t eq = arg.find('=');
        const std::string_view name = arg.starts_with("--") ? arg.substr(0, eq) : arg;
        const Option* o = find(name == "-h" ? "--help" : name);
        if (o == nullptr) {
            out.error = arg.starts_with("-") ? "unknown option " + quoted(name)
                                             : "unexpected argument " + quoted(arg);
            continue;
        }
        std::string_view value;
        if (o->value.empty()) {
            if (eq != std::string_view::npos) {
                out.error = "option " + quoted(o->name) + " takes no value";
                continue;
            }
        } else if (eq != std::string_view::npos) {
            value = arg.substr(eq + 1);
        } else if (i + 1 < args.size() && !args[i + 1].starts_with("--")) {
            value = args[++i];
        }
        if (!o->value.empty() && value.empty()) {
            out.error = "option " + quoted(o->name) + " needs a " + std::string(o->value);
            continue;
        }
        out.error = o->set(out.options, value);
    }
    return out;
}

std::string UsageText() {
    std::string text =
        "Usage: kestrova [OPTION]...\n"
        "Shows what a direction-finding processor sends on a serial line.\n\n";
    for (const Option& o : kOptions) {
        std::string left = "  " + std::string(o.name);
        if (!o.value.empty()) {
            left += " " + std::string(o.value);
        }
        constexpr std::size_t kColumn = 22;
        text += left + std::string(left.size() < kColumn ? kColumn - left.size() : 1, ' ');
        for (const char c : o.help) {
            text += c == '\n' ? "\n" + std::string(kColumn, ' ') : std::string(1, c);
        }
        text += '\n';
    }
    text +=
        "\nSettings are kept beside the program when Kestrova.ini is there (a portable\n"
        "copy), else in $XDG_CONFIG_HOME/kestrova (by default ~/.config/kestrova).\n"
        "Exit status: 0 on a normal end, 1 when the settings cannot be used,\n"
        "2 on a wrong command line.\n";
    return text;
}

std::string VersionText() {
    return "kestrova " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision) + "\n";
}

}  // namespace kestrova
