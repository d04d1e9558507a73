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

void storeText(Station& st, std::string& var, std::string_view value, void (*draw)(Station&)) {
    if (var != value) {
        var.assign(value);
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

void ProcessStatusString(Station& st) {
    const std::string_view rx = st.RxBuffer;
    // Only the line at the head is ours; whatever follows its LF is the next packet.
    const std::size_t lf = rx.find('\n');
    if (lf == std::string_view::npos) {
        return;
    }
    const std::string_view line = rx.substr(0, std::min(lf, kMaxPosition));

    // Without its seven commas the line is no status line: what is shown stays, no reply.
    Commas c{};
    if (!findCommas(line, c)) {
        return;
    }

    storeText(st, st.Op_Mode, line.substr(1, c[0] - 1), Draw_Op_Mode);
    storeText(st, st.IF_BW, between(line, c[0], c[1]), Draw_IF_BW);

    const std::string_view mount = between(line, c[1], c[2]);
    if (mount.size() != kTokenLength) {
        return;
    }
    if (mount == "AIR") {
        storeFlag(st, st.AntAirMount, true, Draw_AntOrientation);
    } else if (mount == "GND") {
        storeFlag(st, st.AntAirMount, false, Draw_AntOrientation);
    }

    storeText(st, st.Local_Remote, between(line, c[2], c[3]), Draw_Local_Remote);
    storeText(st, st.Video_Gain, between(line, c[3], c[4]), Draw_Video_Gain);

    if (const auto band = bandNumber(between(line, c[4], c[5])); band && *band != st.BandIndex) {
        st.BandIndex = *band;
        Draw_Ant_Band(st);
    }

    const std::string_view mode = between(line, c[5], c[6]);
    if (mode == "HNT") {
        storeFlag(st, st.DF_Enabled, true, Draw_DF_Enabled);
    } else if (mode == "RCV") {
        storeFlag(st, st.DF_Enabled, false, Draw_DF_Enabled);
    } else {
        (void)st.Comm1.writeOutput(kReject);
        return;
    }

    // A power token cut short by the end of the line is as unknown as a wrong one.
    const std::string_view power = line.substr(c[6] + 1, kTokenLength);
    if (power == "BAT") {
        st.ui.setVisible(El::BatteryMeter, true);
    } else if (power == "BRT") {
        st.ui.setVisible(El::BatteryMeter, false);
    } else if (power != "DIM" && power != "CLS") {
        (void)st.Comm1.writeOutput(kReject);
        return;
    }

    (void)st.Comm1.writeOutput(kAck);
}

}  // namespace kestrova
