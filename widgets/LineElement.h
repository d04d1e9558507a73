#pragma once

#include <QColor>
#include <QPoint>
#include <QWidget>

namespace kestrova {

// A straight line drawn on its container. The widget spans the boxes the line has had at its
// pen width, so that a meter's bar moving along its scale repaints only where it was and is,
// without moving the widget. Mouse events pass through to what lies beneath.
class LineElement : public QWidget {
  public:
    LineElement(int widthPx, QWidget* parent);
    // Ends in the container's pixels.
    void setEnds(QPoint a, QPoint b, const QColor& colour);
    // Takes effect at the next setEnds.
    void setPenWidth(int widthPx) { width_ = widthPx; }
    QPoint end1() const { return a_; }
    QPoint end2() const { return b_; }
    QColor colour() const { return colour_; }
    int penWidth() const { return width_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int width_;
    QPoint a_, b_;
    QColor colour_;
    QRect box_;            // the line's own box, in the container
    int placedWidth_ = 0;  // the pen width the widget's extent was made for; 0: none yet
};

}  // namespace kestrova
