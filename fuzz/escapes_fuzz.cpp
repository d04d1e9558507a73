// The "&h" escape decoding of settings values, against a plain restart-from-the-start
// decoder.

#include "fuzz/FuzzSupport.h"
#include "settings/Store.h"

namespace {

// The reference is quadratic; long texts are only checked for the properties.
constexpr std::size_t kReferenceLimit = 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(kestrova::fuzz::bytes(data, size));
    const std::optional<std::string> got = kestrova::Store::DecodeHexEscapes(text);
    const bool escaped = text.find("&h") != std::string::npos;
    // Nothing to decode comes back as it was; a decoded text is shorter and holds no escape.
    FUZZ_CHECK(got || escaped);
    FUZZ_CHECK(!got || (escaped ? got->size() < text.size() && got->find("&h") == std::string::npos
                                : *got == text));
    if (size <= kReferenceLimit) {
        FUZZ_CHECK(got == kestrova::fuzz::referenceDecode(text));
    }
    return 0;
}
