#pragma once
// The four packet handlers and the cadence at which bearing packets refresh the displays.

#include "core/Station.h"
#include "core/Timer.h"
#include "link/Decoders.h"

namespace kestrova {

class Dispatch {
  public:
    Dispatch(Station& st, Decoders& decoders, Timer& gpsTimeOut)
        : st_(st), dec_(decoders), GPSTimeOut_(gpsTimeOut) {}

    // Each handler reads its packet at the head of RxBuffer; the caller removes it afterwards.
    void bearing();
    void status();
    void antenna(const std::string& line);
    void gps();
    void MeterUpdate();

  private:
    Station& st_;
    Decoders& dec_;
    Timer& GPSTimeOut_;
};

}  // namespace kestrova
