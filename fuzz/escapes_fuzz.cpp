// The "&h" escape decoding of settings values, against a plain restart-from-the-start
// decoder.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "settings/Store.h"

namespace {

// The reference is quadratic; long texts are only checked for the properties.
constexpr std::size_t kReferenceLimit = 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> got = kestrova::Store::DecodeHexEscapes(text);
    if (got) {
        FUZZ_CHECK(got->find("&h") == std::string::npos);
        FUZZ_CHECK(got->size() <= text.size());
        if (text.find("&h") == std::string::npos) {
            FUZZ_CHECK(*got == text);
        }
    } else {
        FUZZ_CHECK(text.find("&h") != std::string::npos);
    }
    if (size <= kReferenceLimit) {
        FUZZ_CHECK(got == kestrova::fuzz::referenceDecode(text));
    }
    return 0;
}
