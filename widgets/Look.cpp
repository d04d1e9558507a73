#include "widgets/Look.h"

#include <QApplication>
#include <QWidget>
#include <algorithm>

#include "widgets/Pictures.h"

namespace kestrova {

namespace {
constexpr double kNightRed = 0.75;    // the brightest red, of full brightness
constexpr double kNightTrace = 0.18;  // green kept from what yellow and white share
static_assert(255 * kNightTrace <= kNightCeiling);

QRgb nightOf(QRgb c, bool lightFace) {
    if (lightFace) {
        c = qRgba(255 - qRed(c), 255 - qGreen(c), 255 - qBlue(c), qAlpha(c));
    }
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    const int brightest = std::max({r, g, b});
    return qRgba(qRound(brightest * kNightRed), qRound(std::min(r, g) * kNightTrace), 0, qAlpha(c));
}
}  // namespace

QColor shade(Palette palette, const QColor& day, bool lightFace) {
    if (palette == Palette::Day) {
        return day;
    }
    return QColor::fromRgba(nightOf(day.rgba(), lightFace));
}

QImage shade(Palette palette, QImage day, bool lightFace) {
    if (palette == Palette::Day || day.isNull()) {
        return day;
    }
    // Straight alpha so a translucent edge keeps its share; back to premultiplied for drawing.
    QImage img = day.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            line[x] = nightOf(line[x], lightFace);
        }
    }
    return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QPixmap shade(Palette palette, const QPixmap& day, bool lightFace) {
    if (palette == Palette::Day || day.isNull()) {
        return day;
    }
    QPixmap pm = QPixmap::fromImage(shade(palette, day.toImage(), lightFace));
    pm.setDevicePixelRatio(day.devicePixelRatio());
    return pm;
}

QPalette shadePalette(Palette palette, const QPalette& day) {
    if (palette == Palette::Day) {
        return day;
    }
    QPalette night = day;
    const bool light = day.color(QPalette::Active, QPalette::Window).lightness() > 128;
    for (int g = 0; g < QPalette::NColorGroups; ++g) {
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto group = static_cast<QPalette::ColorGroup>(g);
            const auto role = static_cast<QPalette::ColorRole>(r);
            if (role == QPalette::NoRole) {
                continue;
            }
            night.setColor(group, role, shade(palette, day.color(group, role), light));
        }
    }
    return night;
}

void applyLook(QWidget* window, Palette palette) {
    if (!window || palette == Palette::Day) {
        return;
    }
    window->setPalette(shadePalette(palette, QApplication::palette(window)));
    QFont f = window->font();
    f.setStyleStrategy(QFont::StyleStrategy(f.styleStrategy() | QFont::NoSubpixelAntialias));
    window->setFont(f);
}

QFont displayFont(double points, bool bold, Palette palette) {
    QFont f(pictures::displayFontFamily());
    f.setPointSizeF(points);
    f.setBold(bold);
    if (palette == Palette::Night) {
        f.setStyleStrategy(QFont::NoSubpixelAntialias);  // no coloured fringes
    }
    return f;
}

}  // namespace kestrova
