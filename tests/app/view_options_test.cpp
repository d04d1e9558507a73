#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "app/ViewOptions.h"
#include "tests/settings/StoreRig.h"

namespace kestrova::testing {
namespace {

// Each option's good values are stored as they mean; bad ones store nothing and say what the
// option takes, quoting what was given.
TEST(ViewOptions, CommandLineValuesAreCheckedAndStored) {
    const std::tuple<const char*, const char*, ViewOptions> good[] = {
        {"--history", "1", {.history = 1}},
        {"--history", " 360 ", {.history = 360}},
        {"--palette", "night", {.palette = Palette::Night}},
        {"--palette", "Day", {.palette = Palette::Day}},
        {"--scale", "1", {.scale = 1.0}},
        {"--scale", "1.5", {.scale = 1.5}},
        {"--scale", "3", {.scale = 3.0}},
    };
    for (const auto& [option, text, expected] : good) {
        ViewOptions o;
        EXPECT_EQ(TakeViewOption(o, option, text), "") << option << " " << text;
        EXPECT_EQ(o, expected) << option << " " << text;
    }
    const std::tuple<const char*, const char*, const char*> bad[] = {
        {"--history", "0", "a whole number from 1 to 360"},
        {"--history", "361", "a whole number from 1 to 360"},
        {"--history", "12.5", "a whole number from 1 to 360"},
        {"--history", "", "a whole number from 1 to 360"},
        {"--history", "99999999999", "a whole number from 1 to 360"},
        {"--palette", "dusk", "night or day"},
        {"--scale", "0.99", "a number from 1 to 3"},
        {"--scale", "3.01", "a number from 1 to 3"},
        {"--scale", "1,5", "a number from 1 to 3"},
        {"--scale", "2x", "a number from 1 to 3"},
        {"--scale", "nan", "a number from 1 to 3"},
    };
    for (const auto& [option, text, values] : bad) {
        ViewOptions o;
        EXPECT_EQ(TakeViewOption(o, option, text),
                  std::string(option) + " takes " + values + ", not \"" + text + "\"");
        EXPECT_EQ(o, ViewOptions{}) << option << " " << text;
    }
}

// The settings file fills in what the command line left; its bad values are reported, naming
// the key and what it takes, and left at their defaults.
TEST(ViewOptions, SettingsFillInAndReportBadValues) {
    struct Case {
        const char* name;
        ViewOptions commandLine;
        std::map<std::string, std::string> settings;
        ViewOptions expected;
        std::vector<std::string> reports;
    };
    const Case cases[] = {
        {"nothing anywhere: all off", {}, {}, {}, {}},
        {"settings only",
         {},
         {{"History=", "40"}, {"Palette=", "night"}, {"Scale=", "2"}},
         {.history = 40, .palette = Palette::Night, .scale = 2.0},
         {}},
        {"the command line wins",
         {.palette = Palette::Night, .scale = 1.5},
         {{"Palette=", "day"}, {"Scale=", "nonsense"}, {"History=", "5"}},
         {.history = 5, .palette = Palette::Night, .scale = 1.5},
         {}},
        {"bad values reported",
         {},
         {{"History=", "0"}, {"Palette=", "red"}, {"Scale=", "4"}},
         {},
         {"History=0 ignored (a whole number from 1 to 360)", "Palette=red ignored (night or day)",
          "Scale=4 ignored (a number from 1 to 3)"}},
        {"blank values are no values", {}, {{"History=", "  "}, {"Scale=", ""}}, {}, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> reports;
        const ViewOptions o = ResolveViewOptions(
            c.commandLine,
            [&c](const std::string& key) {
                auto it = c.settings.find(key);
                return it == c.settings.end() ? std::string() : it->second;
            },
            [&reports](std::string_view m) { reports.emplace_back(m); });
        EXPECT_EQ(o, c.expected) << c.name;
        EXPECT_EQ(reports, c.reports) << c.name;
    }
}

// Through the real store: missing keys are no error, a bad value goes to the status line, and
// a key that only begins like an option's is not it.
TEST(ViewOptions, ReadFromTheSettingsStore) {
    StoreRig plain("RxCOMport=1\r\nHistoryLength=9\r\n", "RxCOMport=1\r\n");
    EXPECT_EQ(ReadViewOptions(plain.store, {}), ViewOptions{});
    EXPECT_EQ(plain.statusWrites(), 0);
    EXPECT_TRUE(plain.boxes.boxes.empty());

    StoreRig set("RxCOMport=1\r\nhistory=12\r\nScale=9\r\n", "RxCOMport=1\r\n");
    EXPECT_EQ(ReadViewOptions(set.store, {}), ViewOptions{.history = 12});
    EXPECT_EQ(set.status(), "14:03:07> Scale=9 ignored (a number from 1 to 3)");
}

}  // namespace
}  // namespace kestrova::testing
