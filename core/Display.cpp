#include "core/Display.h"

#include <array>

namespace kestrova {

const char* elementName(El e) {
    static constexpr std::array<const char*, static_cast<std::size_t>(El::Count_)> names = {
        "FrameGainLocal",
        "Banner_Video_Gain",
        "Banner_Local_Remote",
        "anggBrgDisplay",
        "FrameDOA",
        "DOA",
        "Banner_RelBear",
        "ImageBackgroundDOA",
        "FrameMeters",
        "SMeter",
        "TMeter",
        "ImageBackgroundMeters",
        "FrameDFOff",
        "Banner_DF_Off",
        "FrameMode",
        "Banner_Op_Mode",
        "Banner_IF_BW",
        "FrameAnt",
        "Banner_Ant_Mod",
        "Banner_Ant_Band",
        "Banner_AntOrientation",
        "BatteryMeter",
        "LineDivision",
        "Textbox2",
        "ImageGPSBackground",
        "Banner_GPS_Sexa_Lat",
        "Banner_GPS_Sexa_Lon",
        "Banner_GPS_Decimal_Lat",
        "Banner_GPS_Decimal_Lon",
        "butConfig",
        "LabelVersion",
        "StatusDisp",
    };
    auto i = static_cast<std::size_t>(e);
    return i < names.size() ? names[i] : "?";
}

}  // namespace kestrova
