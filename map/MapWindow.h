#pragma once
// The map window: the map, the buttons that work on it, the line picked and what can be done
// with it, the position under the pointer in both of the main window's forms, and a status
// line. It draws from the store of lines as the store changes, a few times a second at most.

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/Readings.h"
#include "fix/LineStore.h"
#include "map/MapView.h"

class QLabel;
class QPushButton;
class QTimer;

namespace kestrova::map {

class MapWindow : public QWidget {
  public:
    // How often the window looks at the store for news.
    static constexpr int kLiveMs = 250;

    // `now` reads the clocks the store's stamps come from.
    MapWindow(fix::LineStore& store, std::function<Stamp()> now, QWidget* parent = nullptr);
    ~MapWindow() override;

    // Opens the tiles at `path` ("" for none); a problem goes on the status line, with the
    // grid drawn, and to `report`.
    void setTiles(const std::string& path);
    void setLook(const MapLook& look);

    MapView& map() { return *map_; }
    QString status() const;
    QString pointerText() const;
    QString lineText() const;

    // What the buttons do.
    bool exportTo(const QString& path);  // GeoJSON, KML or GPX by the name's ending
    bool savePicture(const QString& path);
    bool addBearing(const GeoPosition& at, double bearing, const std::string& note);
    void toggleLeftOut();  // the line picked: out of the fix, or back in
    void clearLines();

    // Also told of a problem with the tiles, once per opening: the main window's status line.
    std::function<void(std::string_view)> report;

  protected:
    // Looks at the store only while shown.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QPushButton* button(const QString& text, const QString& tip, std::function<void()> act);
    QWidget* buildButtons();
    QWidget* buildFooter();
    void say(const std::string& message);
    void showLine(std::uint64_t id);
    void showPointer(const std::optional<GeoPosition>& at);
    void askExport();
    void askPicture();
    void askBearing();

    fix::LineStore& store_;
    std::function<Stamp()> now_;
    MapView* map_;
    QLabel* pointer_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* line_ = nullptr;
    QPushButton* leaveOut_ = nullptr;
    QWidget* linePanel_ = nullptr;
    QTimer* live_;
    MapLook look_;
};

}  // namespace kestrova::map
