#include "map/TileLayer.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "widgets/Look.h"

namespace kestrova::map {

namespace {

constexpr int kCoarserLevels = 8;   // how far up a missing tile's stand-in is looked for
constexpr int kNightDimming = 115;  // of 255: how much darker than the palette's shade

quint64 keyOf(const TileKey& k) {
    return (quint64(k.z) << 58) | (quint64(k.x) << 29) | quint64(k.y);
}

TileKey parentOf(const TileKey& k, int levels) {
    return {k.z - levels, k.x >> levels, k.y >> levels};
}

}  // namespace

TileLayer::TileLayer(std::unique_ptr<TileSource> source) : source_(std::move(source)) {}

void TileLayer::setPalette(Palette palette) {
    if (palette != palette_) {
        palette_ = palette;
        cache_.clear();
    }
}

std::string TileLayer::takeProblem() {
    if (problem_.empty() || problemTold_) {
        return {};
    }
    problemTold_ = true;
    return problem_;
}

QImage TileLayer::decoded(const TileKey& key, const QByteArray& bytes) {
    QImage image = QImage::fromData(bytes);
    if (image.isNull()) {
        if (problem_.empty()) {
            problem_ = "tile " + std::to_string(key.z) + "/" + std::to_string(key.x) + "/" +
                       std::to_string(key.y) + " of " + source_->name().toStdString() +
                       " is damaged";
        }
        return image;
    }
    image = shade(palette_, image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    if (palette_ == Palette::Night) {
        // Tiles are mostly light: shaded alone they would outshine everything drawn on them.
        QPainter dim(&image);
        dim.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        dim.fillRect(image.rect(), QColor(0, 0, 0, kNightDimming));
    }
    return image;
}

TileLayer::Got TileLayer::get(const TileKey& key, int& reads, const QImage*& image) {
    const quint64 k = keyOf(key);
    if ((image = cache_.object(k)) != nullptr) {
        return Got::Image;
    }
    if (absent_.contains(k) || key.z < source_->minZoom()) {
        return Got::Absent;
    }
    if (reads <= 0) {
        return Got::Later;
    }
    --reads;
    const QByteArray bytes = source_->tile(key);
    QImage decodedImage = bytes.isEmpty() ? QImage() : decoded(key, bytes);
    if (decodedImage.isNull()) {
        absent_.insert(k);
        return Got::Absent;
    }
    auto* kept = new QImage(std::move(decodedImage));
    cache_.insert(k, kept);
    image = kept;
    return Got::Image;
}

bool TileLayer::paintTile(QPainter& p, const PlacedTile& t, int& reads) {
    for (int up = 0; up <= kCoarserLevels && t.key.z - up >= 0; ++up) {
        const QImage* image = nullptr;
        const Got got = get(parentOf(t.key, up), reads, image);
        if (got == Got::Later) {
            return false;
        }
        if (got == Got::Image) {
            // The part of the coarser tile over this one.
            const int parts = 1 << up;
            const double part = double(image->width()) / parts;
            const QRectF from((t.key.x % parts) * part, (t.key.y % parts) * part, part, part);
            // On whole pixels, so that neighbours meet without a seam at any zoom.
            const QPointF a(std::floor(t.topLeft.x), std::floor(t.topLeft.y));
            const QPointF b(std::floor(t.topLeft.x + t.side), std::floor(t.topLeft.y + t.side));
            p.drawImage(QRectF(a, b), *image, from);
            return true;
        }
    }
    return true;
}

bool TileLayer::paint(QPainter& p, const View& view, int& reads) {
    const int z = std::clamp(static_cast<int>(std::lround(view.zoom())), source_->minZoom(),
                             source_->maxZoom());
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, std::abs(view.zoom() - z) > 1e-9);
    bool complete = true;
    for (const PlacedTile& t : view.tiles(z)) {
        complete = paintTile(p, t, reads) && complete;
    }
    p.restore();
    return complete;
}

}  // namespace kestrova::map
