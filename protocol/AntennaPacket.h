#pragma once
// The antenna packet: "C", the model name up to the first comma, then up to 15 band entries
// separated by commas, each a band text or "text/offset" (tenths of a degree), then CR LF.
// "CANT UNKNOWN" means no antenna is identified.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

struct AntennaLine {
    struct Band {
        std::string text;
        // Nothing when the offset after the slash is no number: the band keeps its old one.
        std::optional<float> offset;
        friend bool operator==(const Band&, const Band&) = default;
    };
    bool unknown = false;     // "ANT UNKNOWN" from character 2 on: the placeholders
    bool wellFormed = false;  // a model closed by a comma, and the CR LF terminator
    std::string model;
    std::vector<Band> bands;  // at most 15; an entry without a slash has offset 0
    friend bool operator==(const AntennaLine&, const AntennaLine&) = default;
};

inline constexpr std::string_view kUnknownAntenna = "CANT UNKNOWN\r\n";

// Reads an antenna line, from its type letter through its CR LF.
AntennaLine ParseAntennaLine(std::string_view AntData);

// "C", the model, each band as ",text/offset" (",text/" when its offset is no number), CR LF;
// kUnknownAntenna for the unknown antenna.
std::string FormatAntennaLine(const AntennaLine& a);

}  // namespace kestrova
