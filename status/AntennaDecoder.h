#pragma once
// The antenna packet: "C", the model name up to the first comma, then up to 15 band entries
// separated by commas, each a band text or "text/offset" (tenths of a degree), then CR LF.
// "CANT UNKNOWN" means no antenna is identified.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Station.h"

namespace kestrova {

struct AntennaLine {
    struct Band {
        std::string text;
        // Nothing when the offset after the slash is no number: the band keeps its old one.
        std::optional<float> offset;
    };
    bool unknown = false;     // "ANT UNKNOWN" from character 2 on: the placeholders
    bool wellFormed = false;  // a model closed by a comma, and the CR LF terminator
    std::string model;
    std::vector<Band> bands;  // at most 15; an entry without a slash has offset 0
};

AntennaLine ParseAntennaLine(std::string_view AntData);

// Decodes an antenna line (type letter through CR LF) into the antenna record, redraws the
// model and band banners, and acknowledges when asked to.
void LoadAntSettings(Station& st, const std::string& AntData, bool Acknowledge);

}  // namespace kestrova
