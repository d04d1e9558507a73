#include "status/AntennaDecoder.h"

#include "core/Numbers.h"
#include "protocol/Replies.h"
#include "status/Banners.h"

namespace kestrova {

namespace {
constexpr std::string_view kUnknownModel = "ANT UNKNOWN";
constexpr std::string_view kMHz = " MHz";
}  // namespace

void LoadAntSettings(Station& st, const AntennaLine& a, bool Acknowledge) {
    AntennaRecord& r = st.antenna;
    if (a.unknown) {
        r.Ant_Model.assign(kUnknownModel);
        for (std::size_t i = 1; i <= kLastBand; ++i) {
            r.BandText[i] = "BAND " + ZeroPadded(static_cast<int>(i), 2);
            r.BandOffset[i] = 0;
        }
    } else if (a.wellFormed) {
        r.Ant_Model = a.model;
        // Only the entries named are written: a longer list before keeps its tail.
        for (std::size_t i = 0; i < a.bands.size(); ++i) {
            r.BandText[i + 1] = a.bands[i].text + std::string(kMHz);
            if (a.bands[i].offset) {
                r.BandOffset[i + 1] = *a.bands[i].offset;
            }
        }
    }
    Draw_Ant_Model(st);
    Draw_Ant_Band(st);
    if (Acknowledge) {
        (void)st.Comm1.writeOutput(ReplyText(Reply::Ack));
    }
}

}  // namespace kestrova
