#pragma once
// How the stream is cut into packets: a packet starts with its type letter (upper case only)
// and is either a fixed number of characters, taken whatever they hold, or runs through the
// first LF, its CR carried along unexamined.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace kestrova {

enum class PacketType { Bearing, Status, Antenna, Gps };

struct Framing {
    char letter;
    PacketType type;
    std::size_t length;  // 0: through the first LF
};

inline constexpr std::array<Framing, 4> kFraming{{
    {'B', PacketType::Bearing, 18},
    {'A', PacketType::Status, 0},
    {'C', PacketType::Antenna, 0},
    {'D', PacketType::Gps, 0},
}};

// The framing of packets that start with `letter`; nothing for any other character.
const Framing* FramingOf(char letter);

struct Frame {
    PacketType type;
    std::size_t length;  // characters from the head through the packet's end
};

// The complete packet at the head of a buffer; nothing when the head is no packet's letter
// or its packet has not all arrived.
std::optional<Frame> HeadPacket(std::string_view buffer);

}  // namespace kestrova
