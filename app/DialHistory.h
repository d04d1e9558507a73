#pragma once
// The last bearings the readout showed as fading marks on the dial's rim, drawn into the
// gauge's cached dial when they change; dropped when the bearings stop.

#include "core/Readings.h"
#include "display/BearingHistory.h"
#include "widgets/Pictures.h"

namespace kestrova {

class NeedleGauge;
class WindowLook;

class DialHistory : public ReadingListener {
  public:
    DialHistory(NeedleGauge& gauge, const WindowLook& look) : gauge_(gauge), look_(look) {}

    // The last `readouts` bearings as marks; 0: none.
    void setLength(int readouts);
    const BearingHistory& history() const { return history_; }

    void bearingShown(const BearingShown& b) override;
    void bearingsStopped() override;

  private:
    NeedleGauge& gauge_;
    const WindowLook& look_;
    BearingHistory history_;
    pictures::HistoryMarks marks_;
};

}  // namespace kestrova
