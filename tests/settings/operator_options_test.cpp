#include <gtest/gtest.h>

#include "output/OperatorOptions.h"
#include "tests/settings/StoreRig.h"

namespace kestrova::testing {
namespace {

// Through the real store: absent keys are normal and raise nothing, a relative path counts
// from the program folder ("@" below), and the command line wins.
TEST(OperatorOptions, CommandLineWinsOverTheSettingsFile) {
    const std::tuple<const char*, OperatorOptions, OperatorOptions> cases[] = {
        {"", {}, {}},
        {"RecordFile=s.rec\r\nBearingLogFile=/var/b.csv\r\n", {}, {"@/s.rec", "/var/b.csv"}},
        {"RecordFile=s.rec\r\nBearingLogFile=b.csv\r\n", {"/c.rec", ""}, {"/c.rec", "@/b.csv"}},
        {"RecordFile=  \r\nbearinglogfile= b.csv \t\r\n", {}, {"", "@/b.csv"}},
        {"RecordFileOld=x.rec\r\n", {"c.rec", "c.csv"}, {"c.rec", "c.csv"}},
    };
    for (const auto& [settings, commandLine, want] : cases) {
        StoreRig r(std::string("RxCOMport=1\r\n") + settings, std::string("RxCOMport=1\r\n"));
        const auto got = ResolveOperatorOptions(
            commandLine, [&](Str key) { return r.store.ReadIniValue("Kestrova.ini", key, false); },
            r.folder.string());
        auto expand = [&](std::string s) {
            return s.starts_with("@") ? r.folder.string() + s.substr(1) : s;
        };
        EXPECT_EQ(got, (OperatorOptions{expand(want.recordFile), expand(want.bearingLogFile)}))
            << settings;
        EXPECT_TRUE(r.boxes.boxes.empty()) << settings;
        EXPECT_EQ(r.statusWrites(), 0) << settings;
    }
}

}  // namespace
}  // namespace kestrova::testing
