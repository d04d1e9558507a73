// The "&h" escape decoding of settings values: what needs no decoding stays, a decoded text is
// shorter and holds no escape, and a text with every character escaped decodes back to it.

#include "fuzz/FuzzSupport.h"
#include "settings/Store.h"

namespace {

// Each character as "&h" and two hex digits, upper or lower case by its position.
std::string escapedEach(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char hex[8];
        std::snprintf(hex, sizeof hex, i % 2 ? "&h%02x" : "&h%02X",
                      static_cast<unsigned char>(text[i]));
        out += hex;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(kestrova::fuzz::bytes(data, size));
    const std::optional<std::string> got = kestrova::Store::DecodeHexEscapes(text);
    const bool escaped = text.find("&h") != std::string::npos;
    FUZZ_CHECK(got || escaped);
    FUZZ_CHECK(!got || (escaped ? got->size() < text.size() && got->find("&h") == std::string::npos
                                : *got == text));
    // A decoded "&" followed by a decoded "h" would form an escape of its own.
    if (!escaped && size <= 4096) {
        FUZZ_CHECK(kestrova::Store::DecodeHexEscapes(escapedEach(text)) == text);
    }
    return 0;
}
