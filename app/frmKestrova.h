#pragma once
// The operator's window: every display element of the remote display at its design place,
// reachable through the Display interface the headless logic writes to.

#include <QLabel>
#include <QWidget>
#include <array>
#include <functional>
#include <span>
#include <string>

#include "core/Display.h"

namespace kestrova {

class NeedleGauge;

inline constexpr std::size_t kElementCount = static_cast<std::size_t>(El::Count_);
// Container value for elements that sit directly on the window.
inline constexpr El kWindow = El::Count_;

enum class ElementKind { Panel, Label, Picture, Gauge, TextBox, Button };

// Place and size in twips, relative to the container.
struct ElementPlace {
    El el;
    El container;
    ElementKind kind;
    int left, top, width, height;
};

// A line element's design ends in twips of its container.
struct LinePlace {
    El el;
    El container;
    int x1, y1, x2, y2;
    int widthPx;
    Rgb colour;
};

// A label that reports a completed left click, as a button would.
class ClickableLabel : public QLabel {
    Q_OBJECT

  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

// A straight line drawn on its container; the widget spans only the line's own box so a move
// repaints little. Mouse events pass through to what lies beneath.
class LineElement : public QWidget {
  public:
    LineElement(int widthPx, QWidget* parent);
    // Ends in the container's pixels.
    void setEnds(QPoint a, QPoint b, const QColor& colour);
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
};

class frmKestrova : public QWidget, public Display {
    Q_OBJECT

  public:
    explicit frmKestrova(QWidget* parent = nullptr);
    ~frmKestrova() override;

    static std::span<const ElementPlace> layout();
    static std::span<const LinePlace> lines();

    // Display
    void setText(El e, std::string_view latin1) override;
    void setTextColour(El e, Rgb colour) override;
    using QWidget::setVisible;
    void setVisible(El e, bool visible) override;
    bool loadPicture(El e, const std::string& path) override;
    void setLine(El e, int x1, int y1, int x2, int y2, Rgb colour) override;
    void setNeedleValue(double degrees) override;
    void setNeedleColour(Rgb colour) override;
    void setNeedleStrength(double fraction) override;
    double twipsPerPixelY() const override;

    // Reading back what an element shows (Latin-1); empty for elements without text.
    std::string text(El e) const;
    QWidget* element(El e) const;
    NeedleGauge* gauge() const;

    // Window placement in twips of the screen (outer frame, as the settings store it).
    int leftTwips() const;
    int topTwips() const;
    void setLeftTwips(int twips);
    void setTopTwips(int twips);
    int widthTwips() const;
    int heightTwips() const;
    int screenWidthTwips() const;
    int screenHeightTwips() const;
    void makeInvisible();

    // Invoked by a click on butConfig.
    std::function<void()> onConfigClicked;

  public slots:
    void StatusDisp_Click();

  private:
    int px(double twips) const;
    int twips(int px) const;
    void build();

    double twipsPerPixel_ = 15.0;
    std::array<QWidget*, kElementCount> elements_{};
};

}  // namespace kestrova
