#pragma once
// The palettes on screen. Night shows everything in dim red on black so an operator's eyes
// stay dark-adapted: no pixel has a green or blue component above kNightCeiling. Pictures and
// widgets are drawn in their day colours and shaded through one mapping, so anything new is
// covered too.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <QPixmap>

#include "core/Display.h"

class QWidget;

namespace kestrova {

inline constexpr int kNightCeiling = 64;

// Day colours unchanged; night: the colour's brightness in red, with a trace of green for
// yellows and whites so they stay apart from reds. Alpha is kept. The colours of a light
// face (a white status line and its black text) are turned over first, so the face goes
// dark and its text red, as everything else.
inline QColor toQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

QColor shade(Palette palette, const QColor& day, bool lightFace = false);
QImage shade(Palette palette, QImage day, bool lightFace = false);
QPixmap shade(Palette palette, const QPixmap& day, bool lightFace = false);
// Every role of every colour group; a light palette (a light window colour) is a light face.
QPalette shadePalette(Palette palette, const QPalette& day);

// Gives a window (dialog, message box, popup) the palette: at night the application's palette
// shaded and fonts without coloured sub-pixel fringes; by day the window is left as it is.
void applyLook(QWidget* window, Palette palette);

// The display's typeface at a size; at night without coloured sub-pixel fringes.
QFont displayFont(double points, bool bold, Palette palette);

}  // namespace kestrova
