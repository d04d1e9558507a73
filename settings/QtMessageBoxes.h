#pragma once
// Modal message boxes on QMessageBox.

#include <QWidget>

#include "core/Display.h"
#include "settings/MessageBoxes.h"

namespace kestrova {

class QtMessageBoxes : public MessageBoxes {
  public:
    explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
    void show(std::string_view text, std::string_view title, BoxIcon icon) override;
    // The palette the boxes are drawn in from now on.
    void applyPalette(Palette palette) { palette_ = palette; }

  private:
    QWidget* parent_;
    Palette palette_ = Palette::Day;
};

}  // namespace kestrova
