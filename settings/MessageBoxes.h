#pragma once
// Modal message boxes with an OK button, as the headless logic raises them.

#include <string_view>

namespace kestrova {

enum class BoxIcon { Critical, Exclamation, Information };

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Returns when the operator has closed the box.
    virtual void show(std::string_view text, std::string_view title, BoxIcon icon) = 0;
};

}  // namespace kestrova
