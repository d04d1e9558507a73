#pragma once
// The operator's window: every display element of the remote display at its design place,
// reachable through the Display interface the headless logic writes to.

#include <QImage>
#include <QLabel>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/StatusMessages.h"
#include "app/ViewOptions.h"
#include "core/Display.h"
#include "core/Readings.h"
#include "display/BearingHistory.h"
#include "widgets/ClickableLabel.h"
#include "widgets/LineElement.h"
#include "widgets/Pictures.h"

class QListWidget;

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

class frmKestrova : public QWidget, public Display, public ReadingListener {
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

    // ReadingListener: the bearing history's marks on the dial.
    void bearingShown(const BearingShown& b) override;
    void bearingsStopped() override;

    // View options; each may change at any time and the window redraws what it shows.
    // The last `readouts` bearings of the digital readout as marks on the dial; 0: none.
    void setHistoryLength(int readouts);
    const BearingHistory& history() const { return history_; }
    void applyPalette(Palette palette);
    Palette colours() const { return palette_; }
    // Window, fonts, pictures and gauge drawn `factor` times the design size, sharply.
    void setScale(double factor);
    double scale() const { return scale_; }

    // What the status line has said, and the list of it a right click opens at `at` (global).
    const StatusMessages& statusMessages() const { return messages_; }
    QListWidget* showStatusMessages(QPoint at);

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
    // Design twips to the window's pixels, at its scale.
    int px(double twips) const;
    // Between twips and pixels of the screen, for the window's place and size there.
    int screenPx(double twips) const;
    int twips(int px) const;
    void build();
    // The parts of build(): the elements and lines of the layout, their looks and places.
    QWidget* container(El c);
    QWidget* createElement(const ElementPlace& e);
    QWidget* createConfigButton(QWidget* parentWidget);
    void createLines();
    void arrangeElements();
    void buildStatusLine();
    QLabel* label(El e) const;
    // Sizes, fonts, pictures and colours for the current scale and palette.
    void restyle();
    void placeLine(El e);
    // A role's colour by day, shown in the palette in use and remembered for a change of it;
    // `lightFace` as for shade(). A colour given again keeps its face.
    void setColour(QWidget* w, QPalette::ColorRole role, const QColor& day,
                   std::optional<bool> lightFace = {});
    QPixmap loadedPicture(const QImage& file) const;
    void showStatusTip(const QString& text);

    double twipsPerPixel_ = 15.0;
    double scale_ = 1.0;
    Palette palette_ = Palette::Day;
    bool built_ = false;
    std::array<QWidget*, kElementCount> elements_{};

    struct RoleColour {
        QWidget* widget;
        QPalette::ColorRole role;
        QColor day;
        bool lightFace;
    };
    std::vector<RoleColour> colours_;
    struct FontPlace {
        double points = 0;  // 0: the widget keeps the inherited font
        bool bold = false;
    };
    std::array<FontPlace, kElementCount> fonts_{};
    // Each line's ends in unscaled pixels of its container, and its colour by day.
    struct LineState {
        QPointF a, b;
        QColor day;
        int widthPx = 1;
    };
    std::array<LineState, kElementCount> lines_{};
    std::array<QImage, kElementCount> loaded_{};  // picture files as read
    QColor needleDay_{255, 255, 0};

    BearingHistory history_;
    pictures::HistoryMarks marks_;
    StatusMessages messages_;
    QListWidget* messagesList_ = nullptr;
};

}  // namespace kestrova
