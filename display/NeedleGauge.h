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
    // a second, more than an eye can follow.
    static constexpr int kFrameMs = 40;

    // Paints the static dial into a square of side x side logical pixels.
    using FacePainter = std::function<void(QPainter&, int side)>;

    explicit NeedleGauge(QWidget* parent = nullptr);

    void setFacePainter(FacePainter painter);

    void setNeedleValue(double degrees);
    void setNeedleColour(const QColor& colour);
    void setStrength(double fraction);

    double needleValue() const { return value_; }
    QColor needleColour() const { return colour_; }
    double strength() const { return strength_; }

    QPointF centre() const;
    double needleRadius() const;

    // How often the dial has been drawn into its cache; a needle move must not raise it.
    int faceRenderCount() const { return faceRenders_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const QPixmap& face(qreal dpr);
    // The area the needle covers now, in widget pixels.
    QRect needleArea() const;
    // Records the needle's area before and after `change`, and asks for one repaint of both.
    template <class Change>
    void moveNeedle(Change change);
    void paintFrame();

    FacePainter facePainter_;
    QPixmap face_;
    int faceRenders_ = 0;
    double value_ = 0;
    QColor colour_{255, 255, 0};
    double strength_ = 0;
    QRect dirty_;
    QTimer frame_;
    QElapsedTimer sinceFrame_;
};

}  // namespace kestrova
