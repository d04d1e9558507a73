#pragma once
// The map window's options: whether it opens at start-up, the tiles under it, and where it
// was on the screen. All off unless the command line or the settings file asks.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova::map {

struct MapOptions {
    std::optional<bool> open;          // "--map", Map=1
    std::optional<std::string> tiles;  // "--map-tiles PATH", MapTiles=PATH: folder or MBTiles
    friend bool operator==(const MapOptions&, const MapOptions&) = default;

    bool opens() const { return open.value_or(false); }
    std::string tilePath() const { return tiles.value_or(""); }
};

// Settings keys, with their "=" so that no longer key matches ("Map=" is no "MapTiles=").
inline constexpr char kMapKey[] = "Map=";
inline constexpr char kMapTilesKey[] = "MapTiles=";

// The options in effect: the command line's, the rest from the settings file, whose relative
// tile path counts from `settingsFolder`. Map= opens the map when its number is exactly 1.
MapOptions ResolveMapOptions(const MapOptions& commandLine,
                             const std::function<std::string(const std::string&)>& readSetting,
                             const std::string& settingsFolder);

// The map window's place and size on the screen in twips, as the main window's is kept.
struct MapPlace {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const MapPlace&, const MapPlace&) = default;
};
// The keys without their "=", in the order of MapPlace's fields.
inline constexpr std::array<std::string_view, 4> kMapPlaceKeys{"MapLeft", "MapTop", "MapWidth",
                                                               "MapHeight"};
// The stored place; nothing unless all four keys hold numbers and the size is not empty
// (the default settings hold zeros: placed by the window system until first closed).
std::optional<MapPlace> ReadMapPlace(
    const std::function<std::string(const std::string&)>& readSetting);
// The four values to store, in the order of kMapPlaceKeys.
std::array<std::string, 4> MapPlaceValues(const MapPlace& place);

}  // namespace kestrova::map
