#pragma once
// Where the map's tiles come from: a folder of z/x/y.png files or an MBTiles file, both on
// this computer. Nothing is ever fetched from a network.

#include <QByteArray>
#include <QString>
#include <memory>
#include <string>

#include "map/WebMercator.h"

namespace kestrova::map {

class TileSource {
  public:
    virtual ~TileSource() = default;
    // The tile's picture as stored (PNG or JPEG); empty when the set has no such tile.
    virtual QByteArray tile(const TileKey& key) = 0;
    int minZoom() const { return minZoom_; }
    int maxZoom() const { return maxZoom_; }
    // Whom the tiles are owed to, as the set says; empty when it says nothing.
    const QString& attribution() const { return attribution_; }
    const QString& name() const { return name_; }

  protected:
    int minZoom_ = kMinZoom;
    int maxZoom_ = kMaxZoom;
    QString attribution_;
    QString name_;  // the file or folder, for messages
};

struct OpenedTiles {
    std::unique_ptr<TileSource> source;  // none: the map is drawn on its grid alone
    // Why there is none though a path was given, for the status line; "" otherwise.
    std::string problem;
};

// The tiles at `path`, a folder or an MBTiles file; "" gives none and no problem.
OpenedTiles OpenTiles(const std::string& path);

}  // namespace kestrova::map
