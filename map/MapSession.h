#pragma once
// The map window as the program keeps it: opened at start-up when the options ask, or later
// by the operator; placed where it was when last closed, when the settings file holds the
// keys for it (the default settings do). Closing it changes nothing else.

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <string_view>

#include "core/Readings.h"
#include "fix/LineStore.h"
#include "map/MapOptions.h"
#include "map/MapWindow.h"

namespace kestrova::map {

// How the session reaches the settings file and the main window's status line.
struct SessionHooks {
    std::function<std::string(const std::string& key)> read;  // "" when missing
    // False when the file could not be written.
    std::function<bool(const std::string& key, const std::string& value)> write;
    std::function<void(std::string_view)> report;
};

class MapSession : public QObject {
  public:
    MapSession(fix::LineStore& store, std::function<Stamp()> now, QWidget* mainWindow,
               SessionHooks hooks);
    ~MapSession() override;

    // The options in effect and the main window's look; opens the map when they ask.
    void begin(const MapOptions& options, const MapLook& look);
    // Shows the map window, made on first use, and brings it to the front.
    void open();
    MapWindow* window() const { return window_.data(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The place and size of the window into the settings: only keys the file already holds.
    void keepPlace();
    int twips(int pixels) const;
    int pixels(int twips) const;

    fix::LineStore& store_;
    std::function<Stamp()> now_;
    QWidget* mainWindow_;
    SessionHooks hooks_;
    MapOptions options_;
    MapLook look_;
    QPointer<MapWindow> window_;
};

}  // namespace kestrova::map
