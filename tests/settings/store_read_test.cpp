#include <gtest/gtest.h>
#include <sys/stat.h>

#include "settings/LeadingNumber.h"
#include "tests/settings/StoreRig.h"

namespace kestrova::testing {
namespace {

using namespace std::string_literals;

const std::string kStampErr = "14:03:07> Err reading .ini file.";

// A readable settings file that holds the key: its value, nothing else happens.
TEST(ReadIniValue, ValueFromTheSettingsFile) {
    const struct {
        std::string ini, key, want;
    } cases[] = {
        {"RxCOMport=3\r\n", "RxCOMport", "3"},
        {"RxCOMport = 3\r\n", "RxCOMport", " 3"},
        {"K=a=b\r\n", "K", "a=b"},
        {"RxCOMport=5\r\nRxCOMport=6\r\n", "RxCOMport", "5"},
        {"RxCOMportOld=9\r\nRxCOMport=3\r\n", "RxCOMport", "9"},
        {"rxcomport=4\r\n", "RxCOMport", "4"},
        {"[Kestrova]\r\n\r\n; remark\r\nMainTop=120", "MAINTOP", "120"},
        {"A=1\rRxCOMport=7\rB=2", "RxCOMport", "7"},
        {"A=1\r\nRxCOMport=7\nB=2\r\n", "RxCOMport", "7\nB=2"},
        {"RxCOMport\r\n", "RxCOMport", "RxCOMport"},
        {"K=AB&h3DCD\r\n", "K", "AB=CD"},
        {"K=AB&H3DCD\r\n", "K", "AB&H3DCD"},
        {"\0\x01\xff\r\nK=\0x\r\n"s, "K", "\0x"s},
    };
    for (const auto& c : cases) {
        StoreRig r;
        r.put("Kestrova.ini", c.ini);
        EXPECT_EQ(r.read(c.key), c.want) << c.ini;
        EXPECT_EQ(r.statusWrites(), 0) << c.ini;
        EXPECT_TRUE(r.boxes.boxes.empty()) << c.ini;
        EXPECT_EQ(r.get("Kestrova.ini"), c.ini);
        EXPECT_FALSE(r.get("Kestrova.bak"));
    }
}

// The settings file fails or lacks the key: the backup answers and repairs it.
TEST(ReadIniValue, BackupFallbackRepairsTheSettingsFile) {
    const std::string bak = "; remark\r\nRxCOMport=6\rMainTop=1\r\n";
    const struct {
        const char* what;
        std::optional<std::string> ini;
        int statusWrites;
    } cases[] = {
        {"settings file missing", {}, 0},
        {"key missing", "MainTop=1\r\n", 1},
        {"lone LF hides the key", "A=1\nRxCOMport=2\r\n", 1},
        {"value ends in &h", "RxCOMport=2&h\r\n", 0},
        {"bad escape", "RxCOMport=&hZZ\r\n", 0},
        {"empty file", "", 1},
        {"binary junk", "\0\xfe=\x01\n\0RxCOMport=9"s, 1},
    };
    for (const auto& c : cases) {
        StoreRig r;
        if (c.ini) {
            r.put("Kestrova.ini", *c.ini);
        }
        r.put("Kestrova.bak", bak);
        EXPECT_EQ(r.read("RxCOMport"), "6") << c.what;
        EXPECT_EQ(r.get("Kestrova.ini"), bak) << c.what;
        EXPECT_EQ(r.get("Kestrova.bak"), bak) << c.what;
        EXPECT_EQ(r.statusWrites(), c.statusWrites) << c.what;
        if (c.statusWrites) {
            EXPECT_EQ(r.status(), kStampErr);
        }
        ASSERT_EQ(r.boxes.boxes.size(), 1u) << c.what;
        EXPECT_EQ(r.boxes.boxes[0].text, kWarning);
        EXPECT_EQ(r.boxes.boxes[0].title, "Fatal Error");
        EXPECT_EQ(r.boxes.boxes[0].icon, BoxIcon::Critical);
        EXPECT_EQ(r.endCalls, 0);
        EXPECT_FALSE(std::filesystem::exists(r.folder / "Kestrova.ini.tmp")) << c.what;
    }
}

TEST(ReadIniValue, KeyInNeitherFileIsReportedTwiceAndChangesNothing) {
    StoreRig r;
    r.put("Kestrova.ini", "A=1\r\n");
    r.put("Kestrova.bak", "B=2\r\n");
    EXPECT_EQ(r.read("AlwaysOnTop"), "");
    EXPECT_EQ(r.statusWrites(), 2);
    EXPECT_EQ(r.status(), kStampErr);
    EXPECT_TRUE(r.boxes.boxes.empty());
    EXPECT_EQ(r.get("Kestrova.ini"), "A=1\r\n");

    StoreRig quiet;  // without the report-missing flag the backup is not consulted
    quiet.put("Kestrova.ini", "A=1\r\n");
    EXPECT_EQ(quiet.read("AlwaysOnTop", false), "");
    EXPECT_EQ(quiet.statusWrites(), 0);
    EXPECT_EQ(quiet.endCalls, 0);
}

// Neither file usable: the fatal box, the end, and silence afterwards.
TEST(ReadIniValue, FatalWhenTheBackupCannotHelp) {
    const struct {
        const char* what;
        std::optional<std::string> ini, bak;
        int failStep;  // a failing file step, 0 for none
    } cases[] = {
        {"both missing", {}, {}, 0},
        {"key missing, no backup", "A=1\r\n", {}, 0},
        {"bad escape in both", "RxCOMport=&h", "RxCOMport=&h", 0},
        {"backup unreadable", {}, "RxCOMport=6\r\n", 2},
        {"repair cannot be written", {}, "RxCOMport=6\r\n", 3},
        {"repair cannot be renamed", {}, "RxCOMport=6\r\n", 7},
    };
    for (const auto& c : cases) {
        StoreRig r;
        if (c.ini) {
            r.put("Kestrova.ini", *c.ini);
        }
        if (c.bak) {
            r.put("Kestrova.bak", *c.bak);
        }
        r.files.failAt = c.failStep;
        EXPECT_EQ(r.read("RxCOMport"), "") << c.what;
        ASSERT_EQ(r.boxes.boxes.size(), 1u) << c.what;
        EXPECT_EQ(r.boxes.boxes[0].text, kFatal);
        EXPECT_EQ(r.boxes.boxes[0].title, "Fatal Error");
        EXPECT_EQ(r.endCalls, 1);
        EXPECT_TRUE(r.store.ended());
        EXPECT_EQ(r.get("Kestrova.ini"), c.ini) << c.what;

        const int steps = r.files.steps;
        const int writes = r.statusWrites();
        r.put("Kestrova.ini", "RxCOMport=3\r\n");
        EXPECT_EQ(r.read("RxCOMport"), "");
        EXPECT_EQ(r.store.WriteIniValue("Kestrova.ini", "RxCOMport", "4"), WriteResult::Failed);
        r.store.ReportError(1);
        r.store.LoadWindowPosition();
        EXPECT_EQ(r.files.steps, steps) << c.what;
        EXPECT_EQ(r.statusWrites(), writes);
        EXPECT_FALSE(r.window.hidden);
        EXPECT_EQ(r.boxes.boxes.size(), 1u);
        EXPECT_EQ(r.endCalls, 1);
    }
}

TEST(ReadIniValue, FifoInPlaceOfTheSettingsFileDoesNotHang) {
    StoreRig r;
    ASSERT_EQ(mkfifo((r.folder / "Kestrova.bak").c_str(), 0600), 0);
    r.put("Kestrova.ini", "A=1\r\n");
    EXPECT_EQ(r.read("RxCOMport"), "");
    EXPECT_EQ(r.endCalls, 1);
}

TEST(ReadIniValue, LargeFiles) {
    StoreRig r;
    std::string ini;
    for (int i = 0; i < 100000; ++i) {
        ini += "Line" + std::to_string(i) + "=x\r\n";
    }
    const std::string big(1 << 20, '7');
    r.put("Kestrova.ini", ini + "RxCOMport=5\r\nMainTop=" + big + "\r\n");
    EXPECT_EQ(r.read("RxCOMport"), "5");
    EXPECT_EQ(r.read("MainTop"), big);
    EXPECT_EQ(RoundHalfEvenToInt16(LeadingNumber(r.read("MainTop"))), std::nullopt);
    EXPECT_EQ(r.statusWrites(), 0);
}

}  // namespace
}  // namespace kestrova::testing
