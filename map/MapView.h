#pragma once
// The map: its background (tiles or the grid), and over it what the store of lines holds,
// drawn again only when the store or the view changes. Wheel zooms about the pointer, a drag
// pans, a click picks the line under it; V and F centre on the vehicle and the fix.

#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/Readings.h"
#include "fix/LineStore.h"
#include "map/LineShapes.h"
#include "map/Overlay.h"
#include "map/TileLayer.h"
#include "map/WebMercator.h"

namespace kestrova::map {

class MapView : public QWidget {
  public:
    // Lines worked out into geodesics per frame at most, so that thousands of new ones do
    // not hold up the program; the rest follow in the next frames.
    static constexpr std::size_t kShapesPerFrame = 400;
    // Lines fade with age: drawn again this often though nothing else changed.
    static constexpr std::int64_t kFadeStepMs = 5000;
    static constexpr int kStartZoom = 12;
    // Live news is drawn no sooner after a frame than this many times the frame's cost, so
    // that thousands of lines take a tenth of the time at most.
    static constexpr int kCostShare = 9;

    // `nowMs` reads the clock of the store's stamps.
    MapView(fix::LineStore& store, std::function<std::int64_t()> nowMs, QWidget* parent = nullptr);
    ~MapView() override;

    // Tiles under the map; none: the grid.
    void setTiles(std::unique_ptr<TileSource> source);
    bool hasTiles() const { return tiles_ != nullptr; }
    void setLook(const MapLook& look);
    const MapLook& look() const { return look_; }

    // Centres on the vehicle and keeps it in view as it moves; false when there is none.
    bool centreOnVehicle();
    // False when there is no fix.
    bool centreOnFix();
    const View& view() const { return view_; }
    void setView(const View& view);

    // The line shown picked, 0 for none.
    void select(std::uint64_t id);
    std::uint64_t selected() const { return selected_; }

    // The live tick: forgets what is too old and draws again when the store changed, lines
    // have faded a step, or the vehicle left the middle of the view.
    void refresh();
    // The map as the window shows it, drawn afresh with every tile read.
    QImage picture();

    std::function<void(std::optional<GeoPosition>)> onPointer;  // none: off the map
    std::function<void(std::uint64_t id)> onLineClicked;        // 0: a click on no line
    std::function<void(const std::string&)> onProblem;          // a damaged tile, once

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    // Draws everything; false when tiles or lines are still to come.
    bool draw(QPainter& p, int tileReads, std::size_t shapes);
    bool composeBackground(int tileReads);
    void viewChanged();
    void follow();
    void placeFirst();

    fix::LineStore& store_;
    std::function<std::int64_t()> nowMs_;
    View view_{1, 1};
    MapLook look_;
    std::unique_ptr<TileLayer> tiles_;
    LineShapes shapes_;
    Overlay overlay_;
    QImage background_;
    bool backgroundDone_ = false;
    double gridMetres_ = 0;
    std::uint64_t selected_ = 0;
    std::uint64_t drawnRevision_ = ~std::uint64_t{0};
    double lineLength_ = kShortestLine;  // for the store's revision below
    std::uint64_t lengthRevision_ = ~std::uint64_t{0};
    std::int64_t drawnAtMs_ = 0;
    QElapsedTimer sincePaint_;
    qint64 paintCostMs_ = 0;
    bool following_ = true;
    bool placed_ = false;  // shown anything yet; until then the first line or position is
    std::optional<QPoint> pressedAt_;
    bool dragging_ = false;
};

}  // namespace kestrova::map
