#pragma once
// The window's fixed pictures, drawn at start-up so they stay sharp at any device pixel ratio.
// Sizes are in device-independent pixels; the returned pixmaps carry the ratio they were
// drawn for.

#include <QColor>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <span>

class QPainter;

namespace kestrova::pictures {

inline constexpr QSize kMeterScalesSize{58, 164};
inline constexpr QSize kBearingBackgroundSize{54, 29};
inline constexpr QSize kGpsBackgroundSize{158, 121};
inline constexpr QSize kDfOffSize{49, 16};
inline constexpr QSize kLowBatterySize{28, 11};

// Verdana where installed, else a comparable sans-serif.
QString displayFontFamily();

// The bearing gauge's dial, scaled to side x side logical pixels (212 is the design size).
void paintGaugeFace(QPainter& p, int side);

// Colour of the past bearings' marks by day: apart from the ring, the needle and the red axes.
inline const QColor kHistoryMark{0, 210, 255};

// The past bearings as wedges on the dial's rim pointing inwards, each as strong as the
// history says, the newest on top; same scale as the dial. A wedge is drawn once for each
// direction and then copied: hundreds of marks are composed again at every readout.
struct DialMark {
    double degrees;
    double strength;  // 0..1, the mark's opacity
};
class HistoryMarks {
  public:
    // Oldest first, so the newest is drawn last, on top.
    void paint(QPainter& p, int side, std::span<const DialMark> marks, const QColor& colour);

  private:
    QHash<int, QImage> wedges_;  // by half-degrees
    int side_ = 0;
    qreal dpr_ = 0;
    QColor colour_;
};

QPixmap meterScales(qreal dpr);
QPixmap bearingBackground(qreal dpr);
QPixmap gpsBackground(qreal dpr);
QPixmap dfOffSign(qreal dpr);
QPixmap lowBatteryIcon(qreal dpr);

}  // namespace kestrova::pictures
