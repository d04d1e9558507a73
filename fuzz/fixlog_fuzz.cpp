// The bearing-log reader on arbitrary text: whatever comes in, only bearings on the globe in
// 0..360 come out, every row is counted once, and reading is free of hidden state.

#include "fix/BearingLogReader.h"
#include "fix/Geodesy.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrova::fix;
    const std::string_view text = kestrova::fuzz::bytes(data, size);
    LogOptions options;
    options.declinationDegrees = size > 0 ? data[0] - 128.0 : 0;
    LogContents once, twice;
    ReadBearingLog(text, options, once);
    ReadBearingLog(text, options, twice);
    ReadBearingLog(text, options, twice);
    Finish(once);
    Finish(twice);
    const auto lines = static_cast<long>(std::count(text.begin(), text.end(), '\n')) + 1;
    FUZZ_CHECK(once.rows + once.damaged <= lines);
    FUZZ_CHECK(once.noPosition + once.noHeading + static_cast<long>(once.bearings.size()) ==
               once.rows);
    FUZZ_CHECK(static_cast<long>(once.track.size()) == once.rows - once.noPosition);
    FUZZ_CHECK(twice.rows == 2 * once.rows && twice.damaged == 2 * once.damaged &&
               twice.bearings.size() == 2 * once.bearings.size());
    for (std::size_t i = 0; i < once.bearings.size(); ++i) {
        const LogBearing& b = once.bearings[i];
        FUZZ_CHECK(OnGlobe(b.station) && !IsNullIsland(b.station));
        FUZZ_CHECK(b.trueBearing >= 0 && b.trueBearing < 360);
        FUZZ_CHECK(ParseLogTime(b.timeText) == b.time);
        FUZZ_CHECK(i == 0 || once.bearings[i - 1].time <= b.time);
    }
    return 0;
}
