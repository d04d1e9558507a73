#include "app/WindowLook.h"

#include <QApplication>
#include <QLabel>
#include <cmath>

#include "widgets/LineElement.h"
#include "widgets/Look.h"
#include "widgets/NeedleGauge.h"
#include "widgets/StatusLineWidget.h"

namespace kestrova {

namespace {

const QColor kNightButtonFace(48, 8, 0);

void colourRole(QWidget* w, QPalette::ColorRole role, const QColor& c) {
    QPalette pal = w->palette();
    pal.setColor(role, c);
    w->setPalette(pal);
}

}  // namespace

int WindowLook::px(double twips) const {
    return static_cast<int>(std::lround(twips / twipsPerPixel_ * scale_));
}

void WindowLook::setColour(QWidget* w, QPalette::ColorRole role, const QColor& day,
                           std::optional<bool> lightFace) {
    auto same = [w, role](const RoleColour& c) { return c.widget == w && c.role == role; };
    auto it = std::find_if(colours_.begin(), colours_.end(), same);
    if (it == colours_.end()) {
        it = colours_.insert(it, {w, role, day, lightFace.value_or(false)});
    }
    it->day = day;
    it->lightFace = lightFace.value_or(it->lightFace);
    colourRole(w, role, shade(palette_, day, it->lightFace));
}

void WindowLook::setLine(El e, QPointF a, QPointF b, const QColor& day,
                         std::optional<int> widthPx) {
    LineState& l = lines_[idx(e)];
    l = {a, b, day, widthPx.value_or(l.widthPx)};
    placeLine(e);
}

void WindowLook::setDesignLine(const LinePlace& l) {
    auto at = [this](int x, int y) {
        return QPointF(std::round(x / twipsPerPixel_), std::round(y / twipsPerPixel_));
    };
    setLine(l.el, at(l.x1, l.y1), at(l.x2, l.y2), toQColor(l.colour), l.widthPx);
}

void WindowLook::setLineColour(El e, const QColor& day) {
    lines_[idx(e)].day = day;
    placeLine(e);
}

void WindowLook::setPicture(El e, const QImage& file) {
    loaded_[idx(e)] = file;
    static_cast<QLabel*>(elements_[idx(e)])->setPixmap(loadedPicture(file));
}

void WindowLook::setNeedleColour(const QColor& day) {
    needleDay_ = day;
    static_cast<NeedleGauge*>(elements_[idx(El::anggBrgDisplay)])
        ->setNeedleColour(shade(palette_, day));
}

void WindowLook::placeLine(El e) {
    auto* line = static_cast<LineElement*>(elements_[idx(e)]);
    const LineState& l = lines_[idx(e)];
    auto at = [this](QPointF p) {
        return QPoint(static_cast<int>(std::lround(p.x() * scale_)),
                      static_cast<int>(std::lround(p.y() * scale_)));
    };
    line->setPenWidth(std::max(1, static_cast<int>(std::lround(l.widthPx * scale_))));
    line->setEnds(at(l.a), at(l.b), shade(palette_, l.day));
}

void WindowLook::restyle(Palette palette, double scale) {
    palette_ = palette;
    scale_ = scale;
    window_.setFixedSize(px(kClientWidthTwips), px(kClientHeightTwips));
    // By day the window inherits the application's palette as it always has.
    window_.setPalette(palette_ == Palette::Night
                           ? shadePalette(palette_, QApplication::palette(&window_))
                           : QPalette());
    for (const RoleColour& c : colours_) {
        colourRole(c.widget, c.role, shade(palette_, c.day, c.lightFace));
    }
    if (palette_ == Palette::Night) {
        // The style lightens a button's face towards white at its top edge: from a dark face,
        // as every button at night has, that stays dim red.
        colourRole(elements_[idx(El::butConfig)], QPalette::Button, kNightButtonFace);
    }
    placeElements();
    drawPictures();
    auto* gauge = static_cast<NeedleGauge*>(elements_[idx(El::anggBrgDisplay)]);
    gauge->showLook(static_cast<int>(palette_));
    gauge->setNeedleColour(shade(palette_, needleDay_));
    const ElementPlace& status = kLayout.back();
    static_cast<StatusLineWidget*>(elements_[idx(El::StatusDisp)])
        ->setLook(palette_, status.points * scale_, scale_ / twipsPerPixel_);
}

void WindowLook::placeElements() {
    for (const ElementPlace& e : kLayout) {
        QWidget* w = elements_[idx(e.el)];
        w->setGeometry(px(e.left), px(e.top), px(e.width), px(e.height));
        if (e.points > 0) {
            w->setFont(displayFont(e.points * scale_, e.bold, palette_));
        }
    }
    for (const LinePlace& l : kLines) {
        placeLine(l.el);
    }
}

void WindowLook::drawPictures() {
    // Drawn at the scaled ratio, shown at the screen's: as many pixels as the size needs.
    const qreal dpr = window_.devicePixelRatioF();
    for (const BuiltInPicture& p : kPictures) {
        QPixmap pm = p.draw(dpr * scale_);
        pm.setDevicePixelRatio(dpr);
        static_cast<QLabel*>(elements_[idx(p.el)])->setPixmap(shade(palette_, pm));
    }
    for (std::size_t i = 0; i < kElementCount; ++i) {
        if (!loaded_[i].isNull()) {
            static_cast<QLabel*>(elements_[i])->setPixmap(loadedPicture(loaded_[i]));
        }
    }
}

QPixmap WindowLook::loadedPicture(const QImage& file) const {
    if (scale_ == 1.0) {
        return shade(palette_, QPixmap::fromImage(file));
    }
    const qreal dpr = window_.devicePixelRatioF();
    QPixmap pm = QPixmap::fromImage(file.scaled((QSizeF(file.size()) * scale_ * dpr).toSize(),
                                                Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    pm.setDevicePixelRatio(dpr);
    return shade(palette_, pm);
}

}  // namespace kestrova
