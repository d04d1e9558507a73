#include <gtest/gtest.h>

#include <algorithm>

#include "status/Banners.h"
#include "status/MagTable.h"
#include "tests/status/StatusRig.h"

namespace kestrova::testing {
namespace {

TEST(Banners, TextBannersShowTheirVariableUnaltered) {
    struct Case {
        std::string name;
        std::string Station::*var;
        void (*draw)(Station&);
        El element;
    };
    const std::vector<Case> cases = {
        {"mode", &Station::Op_Mode, Draw_Op_Mode, El::Banner_Op_Mode},
        {"bandwidth", &Station::IF_BW, Draw_IF_BW, El::Banner_IF_BW},
        {"local/remote", &Station::Local_Remote, Draw_Local_Remote, El::Banner_Local_Remote},
        {"gain", &Station::Video_Gain, Draw_Video_Gain, El::Banner_Video_Gain},
        {"model", &Station::Ant_Model, Draw_Ant_Model, El::Banner_Ant_Mod},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StatusRig r;
        for (const std::string value : {" IF 25 ", "", "\xB0x,y"}) {
            r.st.*c.var = value;
            c.draw(r.st);
            EXPECT_EQ(r.display.text(c.element), value);
        }
    }
}

TEST(Banners, BandBannerClampsTheStoredIndex) {
    struct Case {
        int index;
        int stored;
        std::string text;
    };
    const std::vector<Case> cases = {
        {0, 0, ""},  // entry 0 is never filled
        {1, 1, "band 1"},    {2, 2, "band 2"},     {15, 15, "band 15"},
        {16, 15, "band 15"}, {200, 15, "band 15"}, {255, 15, "band 15"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        StatusRig r;
        r.st.BandText[16] = "never shown";
        r.st.BandIndex = static_cast<std::uint8_t>(c.index);
        Draw_Ant_Band(r.st);
        EXPECT_EQ(r.st.BandIndex, c.stored);
        EXPECT_EQ(r.display.text(El::Banner_Ant_Band), c.text);
    }
}

TEST(Banners, RelativeOrAbsolute) {
    StatusRig r;
    r.st.RelBearMode = false;
    Draw_RelBear(r.st);
    EXPECT_EQ(r.display.text(El::Banner_RelBear), "ABS");
    r.st.RelBearMode = true;
    Draw_RelBear(r.st);
    EXPECT_EQ(r.display.text(El::Banner_RelBear), "REL");
}

TEST(Banners, MountPictureIsReadAtEveryCall) {
    StatusRig r;
    r.st.programFolder = "/opt/kestrova";
    const std::string air = "/opt/kestrova/Ant-AIR-Win32.bmp";
    const std::string gnd = "/opt/kestrova/Ant-GND-Win32.bmp";
    Draw_AntOrientation(r.st);
    EXPECT_EQ(r.display.picture(El::Banner_AntOrientation), gnd);
    r.st.AntAirMount = true;
    Draw_AntOrientation(r.st);
    Draw_AntOrientation(r.st);
    EXPECT_EQ(r.display.picture(El::Banner_AntOrientation), air);
    EXPECT_EQ(r.display.log, (std::vector<std::string>{
                                 "picture Banner_AntOrientation=" + gnd,
                                 "picture Banner_AntOrientation=" + air,
                                 "picture Banner_AntOrientation=" + air,
                             }));
}

TEST(Banners, FailedMountPictureKeepsThePreviousOne) {
    StatusRig r;
    r.st.AntAirMount = true;
    Draw_AntOrientation(r.st);
    r.display.failPictures = true;
    r.st.AntAirMount = false;
    Draw_AntOrientation(r.st);
    EXPECT_EQ(r.display.picture(El::Banner_AntOrientation), "/prog/Ant-AIR-Win32.bmp");
}

TEST(Banners, DirectionFindingOnOnlyHidesTheSign) {
    StatusRig r;
    r.display.setText(El::DOA, "123.4");
    r.display.log.clear();
    r.st.DF_Enabled = true;
    Draw_DF_Enabled(r.st);
    EXPECT_EQ(r.display.log, std::vector<std::string>{"hide FrameDFOff"});
    EXPECT_EQ(r.display.text(El::DOA), "123.4");
    EXPECT_EQ(r.display.needleValue, -1);
}

TEST(Banners, DirectionFindingOffParksShowsTheSignThenBlanks) {
    StatusRig r;
    r.st.DF_Enabled = false;
    for (int call = 1; call <= 2; ++call) {
        SCOPED_TRACE(call);
        r.display.setText(El::DOA, "123.4");
        r.display.needleValue = 42;
        r.display.log.clear();
        Draw_DF_Enabled(r.st);
        EXPECT_EQ(r.display.needleValue, 360);
        EXPECT_EQ(r.display.text(El::DOA), " - - -");
        EXPECT_TRUE(r.display.isVisible(El::FrameDFOff));
        const auto& log = r.display.log;
        const auto at = [&](const std::string& e) {
            return std::find(log.begin(), log.end(), e) - log.begin();
        };
        const auto needle = at("needle");
        const auto sign = at("show FrameDFOff");
        const auto blank = at("text DOA= - - -");
        EXPECT_LT(needle, sign);
        EXPECT_LT(sign, blank);
        EXPECT_LT(blank, static_cast<std::ptrdiff_t>(log.size()));
    }
}

TEST(MagTable, Examples) {
    StatusRig r;
    CreateTables(r.st);
    struct Case {
        int x, y, mag;
    };
    for (const auto& c : std::vector<Case>{{0, 0, 0},
                                           {1, 1, 1},
                                           {3, 4, 5},
                                           {4, 3, 5},
                                           {1, 0, 1},
                                           {0, 100, 100},
                                           {50, 50, 71},
                                           {70, 70, 99},
                                           {71, 70, 100},
                                           {100, 100, 141}}) {
        EXPECT_EQ(r.st.MagTable[c.x][c.y], c.mag) << c.x << "," << c.y;
    }
}

// Every entry m is the whole number nearest the length: (2m-1)^2 <= 4(x^2+y^2) < (2m+1)^2.
TEST(MagTable, EveryEntryIsTheNearestWholeLength) {
    StatusRig r;
    CreateTables(r.st);
    for (int x = 0; x <= 100; ++x) {
        for (int y = 0; y <= 100; ++y) {
            const long m = r.st.MagTable[x][y];
            const long s4 = 4L * (x * x + y * y);
            if (m > 0) {
                ASSERT_LE((2 * m - 1) * (2 * m - 1), s4) << x << "," << y;
            }
            ASSERT_LT(s4, (2 * m + 1) * (2 * m + 1)) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace kestrova::testing
