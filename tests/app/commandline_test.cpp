#include <gtest/gtest.h>

#include <tuple>

#include "app/CommandLine.h"

namespace kestrova::testing {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, OptionsValuesAndMistakes) {
    const std::tuple<Args, std::string, std::string, bool, bool, std::string> cases[] = {
        // arguments, --port, --settings, --help, --version, error
        {{}, "", "", false, false, ""},
        {{"--port", "/dev/ttyUSB0"}, "/dev/ttyUSB0", "", false, false, ""},
        {{"--port=/dev/pts/3", "--settings", "a b"}, "/dev/pts/3", "a b", false, false, ""},
        {{"--settings=x=y", "--settings=z"}, "", "z", false, false, ""},  // the last one counts
        {{"--port", "-weird"}, "-weird", "", false, false, ""},
        {{"--help"}, "", "", true, false, ""},
        {{"-h", "--version"}, "", "", true, true, ""},
        {{"--port"}, "", "", false, false, "option '--port' needs a DEVICE"},
        {{"--port="}, "", "", false, false, "option '--port' needs a DEVICE"},
        {{"--port", "--help"}, "", "", false, false, "option '--port' needs a DEVICE"},
        {{"--settings", ""}, "", "", false, false, "option '--settings' needs a DIR"},
        {{"--version=2"}, "", "", false, false, "option '--version' takes no value"},
        {{"--portx=1"}, "", "", false, false, "unknown option '--portx'"},
        {{"-platform", "xcb"}, "", "", false, false, "unknown option '-platform'"},
        {{"--help", "stray"}, "", "", true, false, "unexpected argument 'stray'"},
        {{"--bogus", "--help"}, "", "", false, false, "unknown option '--bogus'"},
    };
    for (const auto& [args, port, settings, help, version, error] : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const ParsedCommandLine p = ParseCommandLine(args);
        EXPECT_EQ(p.error, error);
        EXPECT_EQ(std::tie(p.options.port, p.options.settings, p.options.help, p.options.version),
                  std::tie(port, settings, help, version));
    }
}

// Every option is in the help, each line fits a terminal, and the version is the project's.
TEST(CommandLine, HelpAndVersion) {
    const std::string usage = UsageText();
    for (const char* option : {"--port DEVICE", "--settings DIR", "--help", "--version"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
    for (std::size_t start = 0, end; start < usage.size(); start = end + 1) {
        end = usage.find('\n', start);
        EXPECT_LT(end - start, 80u) << usage.substr(start, end - start);
    }
    EXPECT_EQ(VersionText(), "kestrova 1.0.1\n");
}

}  // namespace
}  // namespace kestrova::testing
