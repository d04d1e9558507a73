#include "status/StatusDecoder.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "status/Banners.h"

namespace kestrova {

namespace {

constexpr std::string_view kAck = "\r\n";
constexpr std::string_view kReject = "\a\r\n";

// Positions in a status line are 8-bit: nothing past character 255 is ever looked at, so a
// longer line cannot wrap around into its own earlier text.
constexpr std::size_t kMaxPosition = 255;
constexpr std::size_t kFieldCommas = 7;
constexpr std::size_t kTokenLength = 3;

using Commas = std::array<std::size_t, kFieldCommas>;

// Finds the commas closing fields 1 to 7. Each closing comma is looked for from the field's
// second character on, so a comma right after an opening one belongs to the field.
bool findCommas(std::string_view line, Commas& commas) {
    std::size_t from = 2;  // field 1 starts at index 1; its second character is index 2
    for (std::size_t& c : commas) {
        c = line.find(',', from);
        if (c == std::string_view::npos) {
            return false;
        }
        from = c + 2;
    }
    return true;
}

std::string_view between(std::string_view line, std::size_t open, std::size_t close) {
    return line.substr(open + 1, close - open - 1);
}

// A whole number 0..255; blanks around the digits are tolerated, anything else is no band.
std::optional<std::uint8_t> bandNumber(std::string_view f) {
    const std::size_t first = f.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    f = f.substr(first, f.find_last_not_of(' ') - first + 1);
    unsigned value = 0;
    for (const char ch : f) {
        if (ch < '0' || ch > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(ch - '0');
        if (value > 255) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint8_t>(value);
}

StatusLine::Mode modeOf(std::string_view f) {
    if (f == "HNT") {
        return StatusLine::Mode::DirectionFinding;
    }
    return f == "RCV" ? StatusLine::Mode::ReceiveOnly : StatusLine::Mode::Unknown;
}

StatusLine::Power powerOf(std::string_view f) {
    using P = StatusLine::Power;
    if (f == "BAT") {
        return P::LowBattery;
    }
    if (f == "BRT") {
        return P::Bright;
    }
    if (f == "DIM") {
        return P::Dim;
    }
    return f == "CLS" ? P::Close : P::Unknown;
}

void storeText(Station& st, std::string& var, const std::string& value, void (*draw)(Station&)) {
    if (var != value) {
        var = value;
        draw(st);
    }
}

void storeFlag(Station& st, bool& var, bool value, void (*draw)(Station&)) {
    if (var != value) {
        var = value;
        draw(st);
    }
}

}  // namespace

StatusLine ParseStatusLine(std::string_view text) {
    StatusLine s;
    // Only the line at the head is ours; whatever follows its LF is the next packet.
    const std::size_t lf = text.find('\n');
    if (lf == std::string_view::npos) {
        return s;
    }
    const std::string_view line = text.substr(0, std::min(lf, kMaxPosition));
    Commas c{};
    if (!findCommas(line, c)) {
        return s;  // without its seven commas the line is no status line
    }
    s.opMode = line.substr(1, c[0] - 1);
    s.ifBw = between(line, c[0], c[1]);
    s.fieldsRead = 2;
    const std::string_view mount = between(line, c[1], c[2]);
    if (mount.size() != kTokenLength) {
        return s;
    }
    s.mount = mount == "AIR"   ? StatusLine::Mount::Air
              : mount == "GND" ? StatusLine::Mount::Ground
                               : StatusLine::Mount::Other;
    s.localRemote = between(line, c[2], c[3]);
    s.videoGain = between(line, c[3], c[4]);
    s.band = bandNumber(between(line, c[4], c[5]));
    s.mode = modeOf(between(line, c[5], c[6]));
    s.fieldsRead = 7;
    if (s.mode == StatusLine::Mode::Unknown) {
        return s;
    }
    // A power token cut short by the end of the line is as unknown as a wrong one.
    s.power = powerOf(line.substr(c[6] + 1, kTokenLength));
    s.fieldsRead = 8;
    return s;
}

void ProcessStatusString(Station& st) {
    const StatusLine s = ParseStatusLine(st.link.RxBuffer);
    if (s.fieldsRead == 0) {
        return;  // what is shown stays, no reply
    }
    DeviceStatus& d = st.status;
    storeText(st, d.Op_Mode, s.opMode, Draw_Op_Mode);
    storeText(st, d.IF_BW, s.ifBw, Draw_IF_BW);
    if (s.fieldsRead == 2) {
        return;
    }
    if (s.mount != StatusLine::Mount::Other) {
        storeFlag(st, d.AntAirMount, s.mount == StatusLine::Mount::Air, Draw_AntOrientation);
    }
    storeText(st, d.Local_Remote, s.localRemote, Draw_Local_Remote);
    storeText(st, d.Video_Gain, s.videoGain, Draw_Video_Gain);
    if (s.band && *s.band != d.BandIndex) {
        d.BandIndex = *s.band;
        Draw_Ant_Band(st);
    }
    if (s.mode == StatusLine::Mode::Unknown) {
        (void)st.Comm1.writeOutput(kReject);
        return;
    }
    storeFlag(st, d.DF_Enabled, s.mode == StatusLine::Mode::DirectionFinding, Draw_DF_Enabled);
    switch (s.power) {
        case StatusLine::Power::LowBattery:
            st.ui.setVisible(El::BatteryMeter, true);
            break;
        case StatusLine::Power::Bright:
            st.ui.setVisible(El::BatteryMeter, false);
            break;
        case StatusLine::Power::Unknown:
            (void)st.Comm1.writeOutput(kReject);
            return;
        default:
            break;  // DIM and CLS leave the icon as it is
    }
    (void)st.Comm1.writeOutput(kAck);
}

}  // namespace kestrova
