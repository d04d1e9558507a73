#pragma once
// How the main window looks: its palette and scale, and every colour, line and loaded picture
// it was given by day, so that a change of either draws them all again, sharp at the size.

#include <QImage>
#include <QPalette>
#include <QPointF>
#include <array>
#include <optional>
#include <vector>

#include "app/WindowLayout.h"

class QWidget;

namespace kestrova {

using Elements = std::array<QWidget*, kElementCount>;

class WindowLook {
  public:
    WindowLook(QWidget& window, const Elements& elements, double twipsPerPixel)
        : window_(window), elements_(elements), twipsPerPixel_(twipsPerPixel) {}

    Palette palette() const { return palette_; }
    double scale() const { return scale_; }
    // Design twips to the window's pixels, at its scale.
    int px(double twips) const;

    // A role's colour by day, shown in the palette in use and remembered for a change of it;
    // `lightFace` as for shade(). A colour given again keeps its face.
    void setColour(QWidget* w, QPalette::ColorRole role, const QColor& day,
                   std::optional<bool> lightFace = {});
    // A line's ends in unscaled pixels of its container and its colour by day; its pen width
    // when given, else as before.
    void setLine(El e, QPointF a, QPointF b, const QColor& day, std::optional<int> widthPx = {});
    void setLineColour(El e, const QColor& day);
    // A line at its design ends.
    void setDesignLine(const LinePlace& l);
    // A picture file as read, shown at the scale.
    void setPicture(El e, const QImage& file);
    void setNeedleColour(const QColor& day);

    // Everything drawn again in the palette at the scale.
    void restyle(Palette palette, double scale);

  private:
    struct RoleColour {
        QWidget* widget;
        QPalette::ColorRole role;
        QColor day;
        bool lightFace;
    };
    struct LineState {
        QPointF a, b;
        QColor day;
        int widthPx = 1;
    };

    void placeLine(El e);
    void placeElements();
    void drawPictures();
    QPixmap loadedPicture(const QImage& file) const;

    QWidget& window_;
    const Elements& elements_;
    double twipsPerPixel_;
    Palette palette_ = Palette::Day;
    double scale_ = 1.0;
    std::vector<RoleColour> colours_;
    std::array<LineState, kElementCount> lines_{};
    std::array<QImage, kElementCount> loaded_{};  // picture files as read
    QColor needleDay_{255, 255, 0};
};

}  // namespace kestrova
