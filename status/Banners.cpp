#include "status/Banners.h"

#include <algorithm>

#include "display/Bearing.h"

namespace kestrova {

void Draw_Op_Mode(Station& st) {
    st.ui.setText(El::Banner_Op_Mode, st.status.Op_Mode);
}

void Draw_IF_BW(Station& st) {
    st.ui.setText(El::Banner_IF_BW, st.status.IF_BW);
}

void Draw_Local_Remote(Station& st) {
    st.ui.setText(El::Banner_Local_Remote, st.status.Local_Remote);
}

void Draw_Video_Gain(Station& st) {
    st.ui.setText(El::Banner_Video_Gain, st.status.Video_Gain);
}

void Draw_Ant_Model(Station& st) {
    st.ui.setText(El::Banner_Ant_Mod, st.antenna.Ant_Model);
}

void Draw_Ant_Band(Station& st) {
    // The clamp is stored: the bearing displays pick their band offset from BandIndex too.
    st.status.BandIndex = std::min(st.status.BandIndex, kLastBand);
    st.ui.setText(El::Banner_Ant_Band, st.antenna.BandText[st.status.BandIndex]);
}

void Draw_AntOrientation(Station& st) {
    // Read afresh every time, so a picture replaced on disk shows at the next mount change. A
    // failed load leaves the previous picture.
    const char* file = st.status.AntAirMount ? "/Ant-AIR-Win32.bmp" : "/Ant-GND-Win32.bmp";
    (void)st.ui.loadPicture(El::Banner_AntOrientation, st.dataFolder + file);
}

void Draw_DF_Enabled(Station& st) {
    if (st.status.DF_Enabled) {
        st.ui.setVisible(El::FrameDFOff, false);
        return;
    }
    StopBearings(st, true);
}

}  // namespace kestrova
