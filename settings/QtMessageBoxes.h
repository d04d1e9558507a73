#pragma once
// Modal message boxes on QMessageBox.

#include <QWidget>

#include "settings/MessageBoxes.h"

namespace kestrova {

class QtMessageBoxes : public MessageBoxes {
  public:
    explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
    void show(std::string_view text, std::string_view title, BoxIcon icon) override;

  private:
    QWidget* parent_;
};

}  // namespace kestrova
