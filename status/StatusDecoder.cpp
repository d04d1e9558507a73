#include "status/StatusDecoder.h"

#include "status/Banners.h"

namespace kestrova {

namespace {

using S = StatusLine;

template <class T>
void store(Station& st, T& var, const T& value, void (*draw)(Station&)) {
    if (var != value) {
        var = value;
        draw(st);
    }
}

void answer(Station& st, const StatusLine& s) {
    (void)st.Comm1.writeOutput(ReplyText(StatusReply(s)));
}

// Fields 3 to 6: the mount (when it is one we know), local/remote, gain and band.
void storeMiddle(Station& st, const StatusLine& s) {
    DeviceStatus& d = st.status;
    if (s.mountIs != S::Mount::Other) {
        store(st, d.AntAirMount, s.mountIs == S::Mount::Air, Draw_AntOrientation);
    }
    store(st, d.Local_Remote, s.localRemote, Draw_Local_Remote);
    store(st, d.Video_Gain, s.videoGain, Draw_Video_Gain);
    if (s.bandIndex && *s.bandIndex != d.BandIndex) {
        d.BandIndex = *s.bandIndex;
        Draw_Ant_Band(st);
    }
}

}  // namespace

void ProcessStatusString(Station& st, const StatusLine& s) {
    if (s.fieldsRead == 0) {
        return;  // what is shown stays, no reply
    }
    DeviceStatus& d = st.status;
    store(st, d.Op_Mode, s.opMode, Draw_Op_Mode);
    store(st, d.IF_BW, s.ifBw, Draw_IF_BW);
    if (s.fieldsRead == 2) {
        return;
    }
    storeMiddle(st, s);
    if (s.modeIs == S::Mode::Unknown) {
        answer(st, s);
        return;
    }
    store(st, d.DF_Enabled, s.modeIs == S::Mode::DirectionFinding, Draw_DF_Enabled);
    // DIM and CLS leave the icon as it is.
    if (s.powerIs == S::Power::LowBattery || s.powerIs == S::Power::Bright) {
        st.ui.setVisible(El::BatteryMeter, s.powerIs == S::Power::LowBattery);
    }
    answer(st, s);
}

}  // namespace kestrova
