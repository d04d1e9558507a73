#pragma once
// The tiles under the map: read from their source as the view needs them, a few per frame so
// that no frame waits long on the disk, and kept decoded in the palette in use. Where a tile
// is missing, a coarser one stands in, enlarged; where none is, the grid shows.

#include <QCache>
#include <QImage>
#include <QSet>
#include <memory>
#include <string>

#include "core/Display.h"
#include "map/TileSource.h"
#include "map/WebMercator.h"

class QPainter;

namespace kestrova::map {

class TileLayer {
  public:
    // Tiles read at most per frame, and the most kept decoded (256 KB each).
    static constexpr int kReadsPerFrame = 6;
    static constexpr int kKept = 192;

    explicit TileLayer(std::unique_ptr<TileSource> source);
    const TileSource& source() const { return *source_; }

    void setPalette(Palette palette);
    // Draws the tiles the view needs that are at hand or come within `reads` more reads;
    // false when some are still to come.
    bool paint(QPainter& p, const View& view, int& reads);
    // A tile that would not decode, said once; "" when there is nothing new to say.
    std::string takeProblem();

  private:
    enum class Got { Image, Absent, Later };
    Got get(const TileKey& key, int& reads, const QImage*& image);
    // The tile, or the nearest coarser one that is there; false when one is still to come.
    bool paintTile(QPainter& p, const PlacedTile& t, int& reads);
    QImage decoded(const TileKey& key, const QByteArray& bytes);

    std::unique_ptr<TileSource> source_;
    Palette palette_ = Palette::Day;
    QCache<quint64, QImage> cache_{kKept};
    QSet<quint64> absent_;  // tiles the set does not have, or that would not decode
    std::string problem_;
    bool problemTold_ = false;
};

}  // namespace kestrova::map
