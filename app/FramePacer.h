#pragma once
// Paints a window at most once a frame. Qt asks to paint a window as soon as anything in it
// changes, and a bearing stream changes the needle, the meters and the readout a hundred
// times a second. The pacer holds that request until a frame is due, then has everything
// that changed meanwhile painted at once: as the last thing of whatever woke the program by
// then (input on the line, as a rule), so that painting costs no wake-up of its own, or by a
// timer when nothing does.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;

namespace kestrova {

class FramePacer : public QObject {
  public:
    // `beforeFrame` runs just before each frame is painted, to add what was held back.
    FramePacer(QWidget* window, int frameMs, std::function<void()> beforeFrame = {});

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool due() const;
    void paint();

    QWidget* window_;
    int frameMs_;
    std::function<void()> beforeFrame_;
    bool pending_ = false;
    bool painting_ = false;
    QTimer latest_;
    QElapsedTimer sinceFrame_;
};

}  // namespace kestrova
