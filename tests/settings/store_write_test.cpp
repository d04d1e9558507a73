#include <gtest/gtest.h>

#include "tests/settings/StoreRig.h"

namespace kestrova::testing {
namespace {

std::string lines(int n, const std::string& last) {
    std::string s;
    for (int i = 1; i < n; ++i) {
        s += "L" + std::to_string(i) + "=x\r\n";
    }
    return s + last + "\r\n";
}

TEST(WriteIniValue, RewritesEveryEntryAndLeavesTwoIdenticalFiles) {
    const struct {
        std::string ini, value, want, readBack;
    } cases[] = {
        {"A=1\r\nRxCOMport=3\r\nB=2\r\n", "5", "A=1\r\nRxCOMport=5\r\nB=2\r\n", "5"},
        {"RxCOMport=3\r\nX=0\r\nRxCOMport=4\r\n", "5", "RxCOMport=5\r\nX=0\r\nRxCOMport=5\r\n",
         "5"},
        {"rxcomport=4\r\n", "5", "RxCOMport=5\r\n", "5"},
        // The longer key is not an entry for the writer but still wins the prefix read.
        {"RxCOMportOld=9\r\nRxCOMport=3\r\n", "5", "RxCOMportOld=9\r\nRxCOMport=5\r\n", "9"},
        {"; r\rRxCOMport=3\r\n\r\n[S]\nx\rlast", "5",
         "; r\r\nRxCOMport=5\r\n\r\n[S]\nx\r\nlast\r\n", "5"},
        {"RxCOMport=3", "&h41 a=b", "RxCOMport=&h41 a=b\r\n", "A a=b"},  // stored unescaped
        {lines(1101, "RxCOMport=1"), "2", lines(1101, "RxCOMport=2"), "2"},
    };
    for (const auto& c : cases) {
        StoreRig r;
        r.put("Kestrova.ini", c.ini);
        r.put("Kestrova.bak", "stale\r\n");
        EXPECT_EQ(r.store.WriteIniValue("Kestrova.ini", "RxCOMport", c.value), WriteResult::Written)
            << c.ini;
        EXPECT_EQ(r.get("Kestrova.ini"), c.want);
        EXPECT_EQ(r.get("Kestrova.bak"), c.want);
        EXPECT_EQ(r.statusWrites(), 0);
        EXPECT_EQ(r.read("RxCOMport", false), c.readBack);
    }
}

TEST(WriteIniValue, RefusedWritesTouchNothing) {
    const struct {
        const char* what;
        std::optional<std::string> ini;
        std::string value;
        WriteResult want;
    } cases[] = {
        {"blanks around =", "RxCOMport = 3\r\n", "5", WriteResult::KeyMissing},
        {"only a longer key", "RxCOMportOld=9\r\n", "5", WriteResult::KeyMissing},
        {"no = at all", "RxCOMport\r\n", "5", WriteResult::KeyMissing},
        {"settings file missing", {}, "5", WriteResult::Failed},
        {"empty file", "", "5", WriteResult::Failed},
        {"1102 lines", lines(1102, "RxCOMport=1"), "5", WriteResult::Failed},
        {"100000 lines", lines(100000, "RxCOMport=1"), "5", WriteResult::Failed},
        {"CR in the value", "RxCOMport=1\r\n", "5\rAlwaysOnTop=1", WriteResult::Failed},
    };
    for (const auto& c : cases) {
        StoreRig r;
        if (c.ini) {
            r.put("Kestrova.ini", *c.ini);
        }
        r.put("Kestrova.bak", "old\r\n");
        EXPECT_EQ(r.store.WriteIniValue("Kestrova.ini", "RxCOMport", c.value), c.want) << c.what;
        EXPECT_EQ(r.get("Kestrova.ini"), c.ini) << c.what;
        EXPECT_EQ(r.get("Kestrova.bak"), "old\r\n") << c.what;
        const bool missing = c.want == WriteResult::KeyMissing;
        EXPECT_EQ(r.statusWrites(), missing ? 1 : 0) << c.what;
        EXPECT_EQ(r.status(), missing ? "14:03:07> Err saving ini file" : "");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(r.folder), {}), c.ini ? 2 : 1);
    }
}

// A write cut off at any step, by a passing fault or by the process dying there, leaves each
// file whole: old or new, and a new settings file only once the new backup is in place.
TEST(WriteIniValue, InterruptedAtEveryStep) {
    const std::string oldIni = "; port\r\nRxCOMport=3\r\nMainTop=9\rAlwaysOnTop=1";
    const std::string newIni = "; port\r\nRxCOMport=12\r\nMainTop=9\r\nAlwaysOnTop=1\r\n";
    int total = 0;
    {
        StoreRig clean;
        clean.put("Kestrova.ini", oldIni);
        ASSERT_EQ(clean.store.WriteIniValue("Kestrova.ini", "RxCOMport", "12"),
                  WriteResult::Written);
        total = clean.files.steps;
        ASSERT_GE(total, 13);  // a read, then two files of create, write, sync, close, rename, sync
    }
    for (const std::optional<std::string>& oldBak : {std::optional<std::string>{}, {oldIni}}) {
        for (bool die : {false, true}) {
            for (int n = 1; n <= total; ++n) {
                SCOPED_TRACE(::testing::Message() << "step " << n << (die ? " died" : " failed")
                                                  << (oldBak ? ", old backup" : ""));
                StoreRig r;
                r.put("Kestrova.ini", oldIni);
                if (oldBak) {
                    r.put("Kestrova.bak", *oldBak);
                }
                r.files.failAt = n;
                r.files.die = die;
                EXPECT_EQ(r.store.WriteIniValue("Kestrova.ini", "RxCOMport", "12"),
                          WriteResult::Failed);
                const auto ini = r.get("Kestrova.ini");
                const auto bak = r.get("Kestrova.bak");
                EXPECT_TRUE(ini == oldIni || ini == newIni) << *ini;
                EXPECT_TRUE(bak == oldBak || bak == newIni);
                if (ini == newIni) {
                    EXPECT_EQ(bak, newIni);
                }
                if (!die) {  // the fault has passed: the next write goes through
                    const std::string now = r.read("RxCOMport");
                    EXPECT_TRUE(now == "3" || now == "12") << now;
                    EXPECT_EQ(r.store.WriteIniValue("Kestrova.ini", "RxCOMport", "12"),
                              WriteResult::Written);
                    EXPECT_EQ(r.get("Kestrova.ini"), newIni);
                    EXPECT_EQ(r.get("Kestrova.bak"), newIni);
                    EXPECT_FALSE(std::filesystem::exists(r.folder / "Kestrova.ini.tmp"));
                }
            }
        }
    }
}

}  // namespace
}  // namespace kestrova::testing
