#include <gtest/gtest.h>

#include "tests/settings/StoreRig.h"

namespace kestrova::testing {
namespace {

TEST(LoadWindowPosition, StoredPositionOnlyWhenCenterOnScreenIsExactlyZero) {
    const struct {
        std::string ini;
        std::optional<int> top, left;
        int statusWrites;
    } cases[] = {
        {"CenterOnScreen=0\r\nMainTop=120\r\nMainLeft=-30.5\r\n", 120, -31, 0},
        {"CenterOnScreen=0\r\nMainTop= 2.5abc\r\nMainLeft=abc\r\n", 3, 0, 0},
        {"CenterOnScreen=0\r\nMainTop=1e12\r\nMainLeft=7\r\n", {}, 7, 0},
        {"CenterOnScreen=0\r\nMainLeft=7\r\n", {}, 7, 2},
        {"CenterOnScreen=0\r\nMainTop=\r\nMainLeft=\r\n", {}, {}, 0},
        {"CenterOnScreen=00\r\nMainTop=120\r\nMainLeft=60\r\n", {}, {}, 0},
        {"CenterOnScreen= 0\r\nMainTop=120\r\nMainLeft=60\r\n", {}, {}, 0},
        {"CenterOnScreen=1\r\nMainTop=120\r\nMainLeft=60\r\n", {}, {}, 0},
        {"MainTop=120\r\nMainLeft=60\r\n", {}, {}, 2},
    };
    for (const auto& c : cases) {
        StoreRig r;
        r.put("Kestrova.ini", c.ini);
        r.put("Kestrova.bak", c.ini);
        r.store.LoadWindowPosition();
        EXPECT_TRUE(r.window.hidden);
        EXPECT_EQ(r.window.top, c.top) << c.ini;
        EXPECT_EQ(r.window.left, c.left) << c.ini;
        EXPECT_EQ(r.statusWrites(), c.statusWrites) << c.ini;
        EXPECT_TRUE(r.boxes.boxes.empty());
    }
}

TEST(ReportError, TimeStampedMessageByCode) {
    const struct {
        std::int16_t code;
        TimeOfDay at;
        std::string text;
        Rgb colour;
    } cases[] = {
        {1, {14, 3, 7}, "14:03:07> COM port error.", kBlack},
        {2, {0, 0, 0}, "00:00:00> Err reading .ini file.", kRed},
        {0, {23, 59, 59}, "23:59:59> Unknown Error.", kRed},
        {3, {9, 5, 0}, "09:05:00> Unknown Error.", kRed},
        {-1, {12, 0, 1}, "12:00:01> Unknown Error.", kRed},
    };
    for (const auto& c : cases) {
        StoreRig r;
        r.display.setText(El::StatusDisp, "Status Ok!");
        r.display.setTextColour(El::StatusDisp, kRed);
        r.clock.now = c.at;
        r.store.ReportError(c.code);
        EXPECT_EQ(r.status(), c.text);
        EXPECT_EQ(r.display.textColours[static_cast<std::size_t>(El::StatusDisp)], c.colour);
    }
}

TEST(ShippedSettings, EveryKeyReadableAndCrLfThroughout) {
    const auto asset =
        std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "assets";
    StoreRig source;
    std::filesystem::copy_file(asset / "Kestrova.ini", source.folder / "Kestrova.ini");
    const std::string text = *source.get("Kestrova.ini");
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            EXPECT_EQ(text.substr(text[i] == '\r' ? i : i - 1, 2), "\r\n") << "at " << i;
        }
    }

    StoreRig r;
    r.put("Kestrova.ini", text);
    r.put("Kestrova.bak", text);
    const std::pair<const char*, const char*> keys[] = {
        {"RxCOMport", "1"},   {"CenterOnScreen", "1"},   {"MainTop", "0"},
        {"MainLeft", "0"},    {"HideConfigButton", "0"}, {"AlwaysOnTop", "0"},
        {"PortDevice01", ""}, {"PortDevice16", ""},
    };
    for (const auto& [key, want] : keys) {
        EXPECT_EQ(r.read(key, false), want) << key;
    }
    EXPECT_EQ(r.store.WriteIniValue("Kestrova.ini", "RxCOMport", "3"), WriteResult::Written);
    std::string expected = text;
    expected.replace(expected.find("RxCOMport=1"), 11, "RxCOMport=3");
    EXPECT_EQ(r.get("Kestrova.ini"), expected);
}

}  // namespace
}  // namespace kestrova::testing
