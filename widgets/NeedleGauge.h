#pragma once
// The polar bearing gauge: a 0-360 dial running clockwise from the top, with one needle whose
// length shows the signal strength as a fraction of the needle's full reach.

#include <QColor>
#include <QElapsedTimer>
#include <QPixmap>
#include <QPointF>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>

class QPainter;

namespace kestrova {

// Tip of a needle at `value` degrees (0 up, clockwise) whose length is `strength` (clamped to
// 0..1) of `radius`, relative to the dial's centre in screen coordinates (y grows downwards).
QPointF needleTip(double value, double strength, double radius);

class NeedleGauge : public QWidget {
    Q_OBJECT

  public:
    // Fraction of half the widget's side that a needle of full strength reaches.
    static constexpr double kNeedleReach = 0.72;
    // Needle moves are painted at most this often: a bearing stream moves it a hundred times
    // a second, more than an eye can follow. 12.5 frames a second read as smooth motion on a
    // dial and cost half of 25 (each frame is a trip through Qt's painting and the X server).
    static constexpr int kFrameMs = 80;
    // The needle's width and head are drawn for a dial of this side and grow with the dial.
    static constexpr int kDesignSide = 212;

    // Paints the static dial into a square of side x side logical pixels.
    using FacePainter = std::function<void(QPainter&, int side)>;

    explicit NeedleGauge(QWidget* parent = nullptr);

    // The face of one look (a palette, say); each look's face is cached on its own, so
    // switching looks back and forth draws each face once. Giving a painter shows its look.
    void setFacePainter(FacePainter painter, int look = 0);
    // Shows a look already given a painter; nothing for any other.
    void showLook(int look);
    int look() const { return look_; }

    // Drawn over the face into the cached dial, so a needle move still repaints from one
    // pixmap. Call overlayChanged() when what it draws has changed: the dial is composed
    // again and repainted at the next frame.
    void setOverlayPainter(FacePainter painter);
    void overlayChanged();

    // In a window that keeps a frame rate of its own, the gauge only asks for a frame when
    // the needle first moves after one, and the window calls paintMoves() before painting it.
    void setFramePaced(bool paced) { paced_ = paced; }
    // Asks for a repaint of where the needle was and is now, since the last frame.
    void paintMoves();

    void setNeedleValue(double degrees);
    void setNeedleColour(const QColor& colour);
    void setStrength(double fraction);

    double needleValue() const { return value_; }
    QColor needleColour() const { return colour_; }
    double strength() const { return strength_; }

    QPointF centre() const;
    double needleRadius() const;

    // How often the face, and the overlay over it, have been drawn into the cache; a needle
    // move must raise neither.
    int faceRenderCount() const { return faceRenders_; }
    int overlayRenderCount() const { return overlayRenders_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    struct Face {
        FacePainter painter;
        QPixmap pixmap;
    };
    const QPixmap& face(qreal dpr);
    // The face with the overlay on it.
    const QPixmap& dial(qreal dpr);
    // The needle's sizes grow with the dial.
    double unit() const;
    // The area the needle covers now, in widget pixels.
    QRect needleArea() const;
    // Records the needle's area before and after `change`, and asks for one repaint of both.
    template <class Change>
    void moveNeedle(Change change);
    void scheduleFrame();

    std::map<int, Face> faces_;
    int look_ = 0;
    FacePainter overlayPainter_;
    QPixmap dial_;  // null when it must be composed again
    int faceRenders_ = 0;
    int overlayRenders_ = 0;
    double value_ = 0;
    QColor colour_{255, 255, 0};
    double strength_ = 0;
    QRect dirty_;
    bool paced_ = true;
    bool frameAsked_ = false;
    QTimer frame_;
    QElapsedTimer sinceFrame_;
};

}  // namespace kestrova
