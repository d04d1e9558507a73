#include "app/FormLoad.h"

#include <cmath>

#include "app/Version.h"
#include "core/Numbers.h"
#include "display/Bearing.h"
#include "display/Gps.h"
#include "display/Meters.h"
#include "status/AntennaDecoder.h"
#include "status/Banners.h"

namespace kestrova {

std::string VersionLabel() {
    return "Kestrova Release " + std::to_string(kVersionMajor) + "." +
           std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
}

namespace {

// The start values of the main window's variables.
void startValues(Station& st) {
    st.link.RxBuffer.clear();
    st.link.BPacketCount = 0;
    st.link.BusyTickCount = 0;
    st.link.IdleTickCount = 0;
    st.link.LinkState = kLinkStopped;
    st.link.GPSTimedOut = 0;
    st.status.BandIndex = 0;
    st.status.DF_Enabled = true;
    st.bearing.RelBearMode = true;
    st.bearing.CompassHeading = kNoCompass;
    st.bearing.CompassFlag = 'P';
}

// The antenna placeholders, the tables, and every display blank.
void blankDisplays(Station& st) {
    LoadAntSettings(st, ParseAntennaLine(kUnknownAntenna), false);
    st.bearing.TwoPi = static_cast<float>(8.0 * std::atan(1.0));
    CreateTables(st);
    Draw_Meter(st, true, 0);
    Draw_Meter(st, false, 49);
    DigitalDOA_Blank(st);
    GPS_Blank(st);
    Draw_RelBear(st);
    Draw_AntOrientation(st);
}

}  // namespace

bool Form_Load(const StartUp& s) {
    Station& st = s.st;
    st.ui.setVisible(El::FrameDFOff, false);
    st.ui.setVisible(El::BatteryMeter, false);
    s.store.LoadWindowPosition();
    if (s.store.ended()) {
        return false;
    }
    if (!s.store.ReadIniValue(kSettingsFile, "HideConfigButton", true).empty()) {
        const double hide =
            LeadingNumber(s.store.ReadIniValue(kSettingsFile, "HideConfigButton", true));
        st.ui.setVisible(El::butConfig, hide == 0);
    }
    if (s.store.ended()) {
        return false;
    }
    st.ui.setText(El::LabelVersion, VersionLabel());
    startValues(st);
    blankDisplays(st);
    s.ports.InitializeSerialComm();
    if (s.store.ended()) {
        return false;
    }
    if (LeadingNumber(s.store.ReadIniValue(kSettingsFile, "AlwaysOnTop", true)) == 1) {
        s.window.SetAlwaysOnTop(true);
    }
    if (s.store.ended()) {
        return false;
    }
    s.Timer4.start();
    return true;
}

}  // namespace kestrova
