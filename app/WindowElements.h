#pragma once
// The widget each kind of element of the main window is made of, with its look by day.

#include <functional>

#include "app/WindowLook.h"

class QWidget;

namespace kestrova {

bool IsPicture(El e);

// The element in its container, its colours registered with the look; `onConfig` is what a
// click on the Configure button does.
QWidget* CreateElement(const ElementPlace& e, QWidget* parent, WindowLook& look,
                       const std::function<void()>& onConfig);
// The line in its container; the look places it.
QWidget* CreateLine(const LinePlace& l, QWidget* parent);

}  // namespace kestrova
