#pragma once

class QWidget;

namespace kestrova {

// Puts a top-level window above all normal windows (true) or back into the normal stacking
// (false), keeping its place, size and visibility.
void SetAlwaysOnTop(QWidget* window, bool onTop);

}  // namespace kestrova
