#pragma once
// What the map draws over its background: the track and the vehicle, range rings, the lines
// of bearing, the fix with its ellipses, and the furniture (scale bar, north arrow, the fix's
// words, the tiles' attribution). Colours are given by day and shaded for the palette.

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QString>
#include <cstdint>
#include <deque>
#include <vector>

#include "core/Display.h"
#include "core/Readings.h"
#include "fix/Estimator.h"
#include "fix/LineOfBearing.h"
#include "map/Geometry.h"
#include "map/LineShapes.h"

class QPainter;

namespace kestrova::map {

struct MapLook {
    Palette palette = Palette::Day;
    double scale = 1;  // sizes of lines, symbols and text
    friend bool operator==(const MapLook&, const MapLook&) = default;
};

// A day colour in the look's palette. Ink and paper are a light face: at night the paper
// goes dark and the ink light.
QColor Ink(const MapLook& look, const QColor& day, bool lightFace = false);

// The map's text, sized for the look.
QFont TextFont(const MapLook& look);

// The plain metric grid, the background when there are no tiles; its spacing in metres.
double PaintGrid(QPainter& p, const View& view, const MapLook& look);

// What is on the map at one moment.
struct Scene {
    const std::deque<fix::LineOfBearing>& lines;
    const std::vector<fix::BearingVerdict>& verdicts;  // parallel to lines, or shorter
    const fix::FixResult& fix;
    const std::deque<PositionShown>& track;
    const LineShapes& shapes;
    std::int64_t nowMs = 0;      // on the clock of the stamps
    double maxAgeSeconds = 0;    // lines fade towards this age
    std::uint64_t selected = 0;  // the line clicked, 0 for none
};

// The track's gaps: positions further apart than this in time are not joined.
inline constexpr std::int64_t kTrackGapMs = 15000;

class Overlay {
  public:
    void paint(QPainter& p, const View& view, const Scene& scene, const MapLook& look);
    // Where each line went in the last paint, for a click to find it; owners are line ids.
    const std::vector<Drawn>& drawnLines() const { return drawn_; }

  private:
    void paintTrack(QPainter& p, const View& view, const Scene& s, const MapLook& look);
    void paintLines(QPainter& p, const View& view, const Scene& s, const MapLook& look);
    void paintFix(QPainter& p, const View& view, const fix::FixResult& f, const MapLook& look);

    std::vector<Drawn> drawn_;
};

// The scale bar and the grid's spacing (0: no grid) bottom left, the north arrow top right,
// `words` top left and the attribution bottom right.
void PaintFurniture(QPainter& p, const View& view, const MapLook& look, double gridMetres,
                    const QString& words, const QString& attribution);

}  // namespace kestrova::map
