#pragma once
// The operator's window: every display element of the remote display at its design place
// (app/WindowLayout.h), reachable through the Display interface the headless logic writes to.

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/DialHistory.h"
#include "app/WindowLook.h"
#include "core/Display.h"

namespace kestrova {

class NeedleGauge;
class StatusLineWidget;

class frmKestrova : public QWidget, public Display {
    Q_OBJECT

  public:
    explicit frmKestrova(QWidget* parent = nullptr);
    ~frmKestrova() override;

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

    // View options; each may change at any time and the window redraws what it shows.
    DialHistory& history() { return *history_; }
    void applyPalette(Palette palette);
    Palette colours() const { return look_.palette(); }
    // Window, fonts, pictures and gauge drawn `factor` times the design size, sharply.
    void setScale(double factor);
    double scale() const { return look_.scale(); }

    // Reading back what an element shows (Latin-1); empty for elements without text.
    std::string text(El e) const;
    QWidget* element(El e) const;
    NeedleGauge* gauge() const;
    StatusLineWidget* statusLine() const;

    // Window placement in twips of the screen (outer frame, as the settings store it).
    int leftTwips() const;
    int topTwips() const;
    void setLeftTwips(int twips);
    void setTopTwips(int twips);

    // Invoked by a click on butConfig.
    std::function<void()> onConfigClicked;

  private:
    void build();
    void arrangeElements();

    double twipsPerPixel_;
    Elements elements_{};
    WindowLook look_;
    std::unique_ptr<DialHistory> history_;
    bool built_ = false;
};

}  // namespace kestrova
