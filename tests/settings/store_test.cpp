#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "core/Numbers.h"
#include "tests/fakes/NoStandardInput.h"
#include "tests/settings/StoreRig.h"

namespace kestrova::testing {
namespace {

using namespace std::string_literals;

// n lines: n - 1 fillers, then `last`, each ended by CR LF.
std::string lines(int n, const std::string& last) {
    std::string s;
    for (int i = 1; i < n; ++i) {
        s += "L" + std::to_string(i) + "=x\r\n";
    }
    return s + last + "\r\n";
}

// Keys match in either case, every letter of them; a file of 1101 lines is rewritten.
TEST(Store, KeysInEitherCaseAndTheLongestFile) {
    EXPECT_EQ(StoreRig("abcdefghijklmnopqrstuvwxyz=1\r\n").read("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), "1");
    StoreRig r(lines(1101, "RxCOMport=1"));
    EXPECT_EQ(r.write("RxCOMport", "&h3D"), WriteResult::Written);
    EXPECT_EQ(r.get("Kestrova.bak"), lines(1101, "RxCOMport=&h3D"));
}

TEST(WriteIniValue, FailedWritesTouchNothing) {
    const std::pair<OptText, std::string> cases[] = {{{}, "5"},
                                                     {"", "5"},
                                                     {lines(1102, "RxCOMport=1"), "5"},
                                                     {"RxCOMport=1\r\n", "5\rA=1"},
                                                     {"RxCOMport=1\r\n", "5\nA=1"}};
    for (const auto& [ini, value] : cases) {
        SCOPED_TRACE(ini.value_or("(missing)").substr(0, 40));
        StoreRig r(ini, "old\r\n");
        EXPECT_EQ(r.write("RxCOMport", value), WriteResult::Failed);
        EXPECT_EQ(r.get("Kestrova.ini"), ini);
        EXPECT_EQ(r.get("Kestrova.bak"), "old\r\n");
        EXPECT_EQ(r.statusWrites(), 0);
        EXPECT_EQ(r.filesInFolder(), ini ? 2 : 1);
    }
}

// A write cut off at any step, by a passing fault or by the process dying there, leaves each
// file whole: old or new, and a new settings file only once the new backup is in place.
TEST(WriteIniValue, InterruptedAtEveryStep) {
    const std::string oldIni = "; port\r\nRxCOMport=3\r\nMainTop=9\rAlwaysOnTop=1";
    const std::string newIni = "; port\r\nRxCOMport=12\r\nMainTop=9\r\nAlwaysOnTop=1\r\n";
    for (const OptText& oldBak : {OptText{}, OptText{oldIni}}) {
        for (bool die : {false, true}) {
            for (int n = 1; n < 50; ++n) {
                SCOPED_TRACE(::testing::Message() << "step " << n << (die ? " died" : " failed")
                                                  << (oldBak ? ", old backup" : ""));
                StoreRig r(oldIni, oldBak);
                std::tie(r.files.failAt, r.files.die) = std::tuple(n, die);
                if (r.write("RxCOMport", "12") == WriteResult::Written) {
                    // only past the last step: a read, then for each file create, write, sync,
                    // close, rename and sync the folder
                    EXPECT_GT(n, 13);
                    break;
                }
                const OptText ini = r.get("Kestrova.ini");
                const OptText bak = r.get("Kestrova.bak");
                EXPECT_TRUE(ini == oldIni || ini == newIni) << ini.value_or("(missing)");
                EXPECT_TRUE(bak == oldBak || bak == newIni);
                EXPECT_TRUE(ini != newIni || bak == newIni) << "settings file replaced first";
                // A passing fault leaves no temporary file, and the next write goes through.
                if (!die) {
                    EXPECT_EQ(r.filesInFolder(), bak ? 2 : 1);
                    EXPECT_EQ(r.write("RxCOMport", "12"), WriteResult::Written);
                    EXPECT_EQ(r.get("Kestrova.ini"), newIni);
                    EXPECT_EQ(r.get("Kestrova.bak"), newIni);
                    EXPECT_EQ(r.filesInFolder(), 2);
                }
            }
        }
    }
}

// The settings file missing, lacking the key or holding a bad escape: the backup answers
// and repairs it byte for byte. The backup of no help either: the fatal box, the end, and
// silence afterwards.
TEST(ReadIniValue, FallsBackToTheBackupOrEnds) {
    const std::string b = "; remark\r\nRxCOMport=6\rMainTop=1\r\n";
    const std::tuple<OptText, OptText, int, bool, std::string, long> cases[] = {
        // settings file, backup, failing file step (0: none), FIFO as backup, value, status writes
        {{}, b, 0, false, "6", 0},
        {"MainTop=1\r\n", b, 0, false, "6", 1},
        {"RxCOMport=2&h", b, 0, false, "6", 0},
        {{}, {}, 0, false, "", 0},
        {"A=1\r\n", {}, 0, true, "", 1},  // a FIFO cannot hang the read
        {"RxCOMport=&h", "RxCOMport=&h", 0, false, "", 0},
        {{}, b, 7, false, "", 0},  // the repair cannot be renamed into place
    };
    for (const auto& [ini, bak, failStep, fifo, want, statusWrites] : cases) {
        SCOPED_TRACE(::testing::Message() << ini.value_or("-") << bak.value_or("-") << failStep);
        StoreRig r(ini, bak);
        ASSERT_TRUE(!fifo || mkfifo((r.folder / "Kestrova.bak").c_str(), 0600) == 0);
        r.files.failAt = failStep;
        EXPECT_EQ(r.read("RxCOMport"), want);
        const Box box{want.empty() ? kFatal : kWarning, "Fatal Error", BoxIcon::Critical};
        EXPECT_EQ(r.boxes.boxes, std::vector{box});
        EXPECT_EQ(r.endCalls, want.empty() ? 1 : 0);
        EXPECT_EQ(r.get("Kestrova.ini"), want.empty() ? ini : bak);
        EXPECT_EQ(r.statusWrites(), statusWrites);
        if (!want.empty()) {
            EXPECT_EQ(r.get("Kestrova.bak"), bak);
            EXPECT_EQ(r.status(), statusWrites ? "14:03:07> Err reading .ini file." : "");
            EXPECT_EQ(r.filesInFolder(), 2);  // no temporary file left behind
            continue;
        }
        const int steps = r.files.steps;
        EXPECT_EQ(r.read("RxCOMport"), "");
        EXPECT_EQ(r.write("RxCOMport", "4"), WriteResult::Failed);
        r.store.ReportError(1);
        r.store.LoadWindowPosition();
        EXPECT_EQ(r.files.steps, steps);
        EXPECT_EQ(r.statusWrites(), statusWrites);
        EXPECT_FALSE(r.window.hidden);
        EXPECT_EQ(r.boxes.boxes.size(), 1u);
    }
}

// 100,000 lines, then a 1 MB line of escapes that must decode in linear time; far too long
// a file to rewrite.
TEST(ReadIniValue, LargeFiles) {
    std::string big;
    for (int i = 0; i < 262144; ++i) {
        big += "&h37";
    }
    StoreRig r(lines(100001, "RxCOMport=" + big));
    EXPECT_EQ(r.read("RxCOMport"), std::string(262144, '7'));
    EXPECT_EQ(r.write("RxCOMport", "6"), WriteResult::Failed);
}

// Started without a standard input, the program's first file gets descriptor 0.
TEST(WriteIniValue, WorksWithStandardInputClosed) {
    StoreRig r("RxCOMport=1\r\n");
    EXPECT_EQ(withoutStandardInput([&r] { return r.write("RxCOMport", "2"); }),
              WriteResult::Written);
    EXPECT_FALSE(PosixFileOps().write(-1, "2")) << "a failed write is reported, not retried";
}

TEST(ReportError, TimeStampedMessageByCode) {
    StoreRig r;
    r.clock.t = {2024, 5, 1, 9, 5, 0, 0};
    r.display.setTextColour(El::StatusDisp, kRed);
    r.store.ReportError(3);
    EXPECT_EQ(r.status(), "09:05:00> Unknown Error.");
    EXPECT_EQ(r.display.at(El::StatusDisp).colour, kRed);
    r.store.ReportError(1);
    EXPECT_EQ(r.status(), "09:05:00> COM port error.");
    EXPECT_EQ(r.display.at(El::StatusDisp).colour, kBlack);
}

}  // namespace
}  // namespace kestrova::testing
