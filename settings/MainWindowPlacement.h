#pragma once
// What the settings store may do to the main window while placing it at start-up.

namespace kestrova {

class MainWindowPlacement {
  public:
    virtual ~MainWindowPlacement() = default;
    virtual void hide() = 0;
    // Edges on the screen, in twips.
    virtual void setTop(int twips) = 0;
    virtual void setLeft(int twips) = 0;
};

}  // namespace kestrova
