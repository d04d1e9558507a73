#pragma once
// The program's command line, read before any window system is touched so that --help and
// --version work without a display. Options are GNU style: "--name VALUE" or "--name=VALUE".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ViewOptions.h"
#include "map/MapOptions.h"
#include "output/OperatorOptions.h"

namespace kestrova {

struct CommandLine {
    bool help = false;
    bool version = false;
    std::string port;         // --port: the device start-up opens, for this run only; "" none
    std::string share;        // --share: [ADDR:]PORT to publish the line on; "" none
    std::string settings;     // --settings: the settings folder; "" to choose as usual
    OperatorOptions outputs;  // --record, --bearing-log
    ViewOptions view;         // --history, --night, --scale
    map::MapOptions map;      // --map, --map-tiles
};

struct ParsedCommandLine {
    CommandLine options;
    std::string error;  // what is wrong with the command line; "" when nothing
};

// args: the arguments after the program's name.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

// The --help text and the --version line, each ending in a line end.
std::string UsageText();
std::string VersionText();

}  // namespace kestrova
