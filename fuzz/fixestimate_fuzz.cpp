// The estimator on arbitrary bearings: NaN, infinities, the poles, identical stations and
// thousands of bearings. A fix is a point on the globe with finite, ordered ellipses and
// verdicts that add up; a refusal uses nothing; the same input gives the same answer.

#include <cstring>

#include "fix/Estimator.h"
#include "fix/Geodesy.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace kestrova;
using namespace kestrova::fix;

// Six bytes an observation near a base point, or (flag bit) raw doubles for the far corners;
// at most 64 of them, each repeated 32 times now and then.
std::vector<Observation> observations(const std::uint8_t* data, std::size_t size) {
    std::vector<Observation> out;
    if (size < 4) {
        return out;
    }
    size = std::min<std::size_t>(size, 4 + 64 * 6);
    const GeoPosition base{(data[0] - 128) * 0.71, (data[1] - 128) * 1.41};
    const std::size_t repeat = data[2] == 0xFF ? 32 : 1;
    for (std::size_t r = 0; r < repeat; ++r) {
        for (std::size_t i = 4; i + 6 <= size; i += 6) {
            const std::uint8_t* p = data + i;
            Observation o;
            o.station = {base.latitude + static_cast<std::int8_t>(p[0]) * 0.003,
                         base.longitude + static_cast<std::int8_t>(p[1]) * 0.003};
            o.trueBearing = (p[2] * 256 + p[3]) * 0.0055 + static_cast<double>(r) * 0.01;
            o.leftOut = p[4] & 1;
            if (p[4] & 2 && i + 22 <= size) {
                std::memcpy(&o.station.latitude, p + 6, sizeof(double));
                std::memcpy(&o.trueBearing, p + 14, sizeof(double));
            }
            out.push_back(o);
        }
    }
    return out;
}

bool finiteEllipse(const Ellipse& e) {
    return std::isfinite(e.semiMajorMetres) && e.semiMinorMetres >= 0 &&
           e.semiMinorMetres <= e.semiMajorMetres && e.orientationDegrees >= 0 &&
           e.orientationDegrees < 180;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<Observation> obs = observations(data, size);
    FixOptions options;
    if (size > 3 && data[3] & 1) {
        options.sigmaDegrees = 0.1 + data[3] % 60;
    }
    const FixResult f = EstimateFix(obs, options);
    FUZZ_CHECK(f.given == static_cast<int>(obs.size()) && f.bearings.size() == obs.size());
    FUZZ_CHECK(0 <= f.used && f.used <= f.usable && f.usable <= f.given);
    const auto used = std::count_if(f.bearings.begin(), f.bearings.end(),
                                    [](const BearingVerdict& v) { return v.used; });
    FUZZ_CHECK(used == f.used);
    if (f.ok()) {
        FUZZ_CHECK(OnGlobe(f.position) && f.used >= 2 && f.sigmaDegrees > 0);
        FUZZ_CHECK(finiteEllipse(f.ellipse50) && finiteEllipse(f.ellipse95));
        FUZZ_CHECK(f.ellipse50.semiMajorMetres <= f.ellipse95.semiMajorMetres);
        for (std::size_t i = 0; i < obs.size(); ++i) {
            FUZZ_CHECK(!f.bearings[i].used || std::fabs(f.bearings[i].residualDegrees) <= 180);
        }
    } else {
        FUZZ_CHECK(f.used == 0);
    }
    const FixResult again = EstimateFix(obs, options);
    FUZZ_CHECK(again.refusal == f.refusal && again.position == f.position);
    return 0;
}
