#include "protocol/StatusPacket.h"

#include <algorithm>
#include <array>

#include "core/Numbers.h"
#include "protocol/Scanner.h"

namespace kestrova {

namespace {

constexpr std::size_t kMaxPosition = 255;
constexpr std::size_t kTokenLength = 3;
constexpr int kMaxBand = 255;

using S = StatusLine;

S::Mount mountOf(std::string_view f) {
    return f == "AIR" ? S::Mount::Air : f == "GND" ? S::Mount::Ground : S::Mount::Other;
}

S::Mode modeOf(std::string_view f) {
    return f == "HNT"   ? S::Mode::DirectionFinding
           : f == "RCV" ? S::Mode::ReceiveOnly
                        : S::Mode::Unknown;
}

S::Power powerOf(std::string_view f) {
    constexpr std::array<std::string_view, 4> kTokens = {"BAT", "BRT", "DIM", "CLS"};
    const auto i =
        static_cast<std::size_t>(std::find(kTokens.begin(), kTokens.end(), f) - kTokens.begin());
    return static_cast<S::Power>(i);  // Unknown follows the four
}

// A whole number 0..255; blanks around the digits are tolerated, anything else is no band.
std::optional<std::uint8_t> bandOf(std::string_view f) {
    const auto v = DigitsValue(Trimmed(f));
    if (!v || *v > kMaxBand) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*v);
}

// The meaning of the fields, and how far they count.
void interpret(S& s) {
    s.mountIs = mountOf(s.mount);
    s.bandIndex = bandOf(s.band);
    s.modeIs = modeOf(s.mode);
    s.powerIs = powerOf(s.power);
    s.fieldsRead = s.mount.size() != kTokenLength ? 2 : s.modeIs == S::Mode::Unknown ? 7 : 8;
}

}  // namespace

StatusLine ParseStatusLine(std::string_view text) {
    StatusLine s;
    const std::size_t lf = text.find('\n');
    if (lf == std::string_view::npos) {
        return s;
    }
    Scanner in(text.substr(0, std::min(lf, kMaxPosition)), 1);
    std::array<std::string_view, 7> f{};
    for (std::string_view& field : f) {
        const auto v = in.upTo(',', 1);
        if (!v) {
            return s;  // without its seven commas the line is no status line
        }
        field = *v;
    }
    s.opMode = f[0];
    s.ifBw = f[1];
    s.mount = f[2];
    s.localRemote = f[3];
    s.videoGain = f[4];
    s.band = f[5];
    s.mode = f[6];
    s.power = in.fixed(kTokenLength);
    const std::string_view rest = in.rest();
    s.rest = rest.substr(0, rest.size() - (rest.ends_with('\r') ? 1 : 0));
    interpret(s);
    return s;
}

std::string FormatStatusLine(const StatusLine& s) {
    return "A" + s.opMode + "," + s.ifBw + "," + s.mount + "," + s.localRemote + "," + s.videoGain +
           "," + s.band + "," + s.mode + "," + s.power + s.rest + "\r\n";
}

Reply StatusReply(const StatusLine& s) {
    if (s.fieldsRead < 7) {
        return Reply::None;
    }
    const bool known = s.fieldsRead == 8 && s.powerIs != S::Power::Unknown;
    return known ? Reply::Ack : Reply::Reject;
}

}  // namespace kestrova
