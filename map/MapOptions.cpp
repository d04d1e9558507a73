#include "map/MapOptions.h"

#include <filesystem>

#include "core/Numbers.h"

namespace kestrova::map {

namespace {
std::optional<int> whole(const std::string& text) {
    if (text.find_first_not_of(" \t") == std::string::npos) {
        return std::nullopt;
    }
    return RoundHalfAwayFromZero(LeadingNumber(text));
}
}  // namespace

MapOptions ResolveMapOptions(const MapOptions& commandLine,
                             const std::function<std::string(const std::string&)>& readSetting,
                             const std::string& settingsFolder) {
    MapOptions o = commandLine;
    if (!o.open) {
        o.open = LeadingNumber(readSetting(kMapKey)) == 1;
    }
    if (!o.tiles) {
        const std::filesystem::path p = readSetting(kMapTilesKey);
        o.tiles = p.empty() || p.is_absolute() || settingsFolder.empty()
                      ? p.string()
                      : (std::filesystem::path(settingsFolder) / p).string();
    }
    return o;
}

std::optional<MapPlace> ReadMapPlace(
    const std::function<std::string(const std::string&)>& readSetting) {
    std::array<int, 4> v{};
    for (std::size_t i = 0; i < v.size(); ++i) {
        const auto n = whole(readSetting(std::string(kMapPlaceKeys[i]) + "="));
        if (!n) {
            return std::nullopt;
        }
        v[i] = *n;
    }
    if (v[2] <= 0 || v[3] <= 0) {
        return std::nullopt;
    }
    return MapPlace{v[0], v[1], v[2], v[3]};
}

std::array<std::string, 4> MapPlaceValues(const MapPlace& place) {
    return {std::to_string(place.left), std::to_string(place.top), std::to_string(place.width),
            std::to_string(place.height)};
}

}  // namespace kestrova::map
