#include "protocol/Framing.h"

#include <algorithm>

namespace kestrova {

const Framing* FramingOf(char letter) {
    const auto* f = std::find_if(kFraming.begin(), kFraming.end(),
                                 [letter](const Framing& k) { return k.letter == letter; });
    return f == kFraming.end() ? nullptr : f;
}

std::optional<Frame> HeadPacket(std::string_view buffer) {
    const Framing* f = buffer.empty() ? nullptr : FramingOf(buffer.front());
    if (f == nullptr) {
        return std::nullopt;
    }
    if (f->length > 0) {
        return buffer.size() >= f->length ? std::optional<Frame>({f->type, f->length})
                                          : std::nullopt;
    }
    const std::size_t lf = buffer.find('\n');
    return lf == std::string_view::npos ? std::nullopt : std::optional<Frame>({f->type, lf + 1});
}

}  // namespace kestrova
