#include "map/MapSession.h"

#include <QEvent>
#include <cmath>

namespace kestrova::map {

MapSession::MapSession(fix::LineStore& store, std::function<Stamp()> now, QWidget* mainWindow,
                       SessionHooks hooks)
    : store_(store), now_(std::move(now)), mainWindow_(mainWindow), hooks_(std::move(hooks)) {}

MapSession::~MapSession() {
    if (window_ && window_->isVisible()) {
        keepPlace();
    }
    delete window_.data();
}

void MapSession::begin(const MapOptions& options, const MapLook& look) {
    options_ = options;
    look_ = look;
    if (options_.opens()) {
        open();
    }
}

void MapSession::open() {
    if (!window_) {
        // Its own top-level window, but the main window's: it goes when the program does.
        window_ = new MapWindow(store_, now_, mainWindow_);
        window_->report = hooks_.report;
        window_->setLook(look_);
        window_->setTiles(options_.tilePath());
        window_->installEventFilter(this);
        if (const auto place = ReadMapPlace(hooks_.read)) {
            window_->move(pixels(place->left), pixels(place->top));
            window_->resize(pixels(place->width), pixels(place->height));
        }
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

bool MapSession::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_.data() && event->type() == QEvent::Close) {
        keepPlace();
    }
    return false;
}

int MapSession::twips(int px) const {
    const int dpi = window_->logicalDpiY();
    return static_cast<int>(std::lround(px * 1440.0 / (dpi > 0 ? dpi : 96)));
}

int MapSession::pixels(int tw) const {
    const int dpi = window_->logicalDpiY();
    return static_cast<int>(std::lround(tw * (dpi > 0 ? dpi : 96) / 1440.0));
}

void MapSession::keepPlace() {
    if (!hooks_.read || !hooks_.write) {
        return;
    }
    const MapPlace place{twips(window_->pos().x()), twips(window_->pos().y()),
                         twips(window_->width()), twips(window_->height())};
    const auto values = MapPlaceValues(place);
    bool written = true;
    for (std::size_t i = 0; i < kMapPlaceKeys.size() && written; ++i) {
        const std::string key(kMapPlaceKeys[i]);
        // The settings writer rewrites keys, never adds one: a file without them is left be.
        if (!hooks_.read(key + "=").empty()) {
            written = hooks_.write(key, values[i]);
        }
    }
    if (!written && hooks_.report) {
        hooks_.report("The map's place could not be kept in the settings file.");
    }
}

}  // namespace kestrova::map
