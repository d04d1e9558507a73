#pragma once
// Records every call the link makes through its decoder seam, each record as packet text.

#include <string>
#include <vector>

#include "core/Station.h"
#include "link/Decoders.h"

namespace kestrova::testing {

struct DecoderCall {
    std::string name;
    std::string args;
};

class RecordingDecoders : public Decoders {
  public:
    explicit RecordingDecoders(const Station& /*st*/) {}

    void DrawLine(const BearingPacket& p) override { rec("DrawLine", FormatBearingPacket(p)); }
    void DrawDigitalDOA() override { rec("DrawDigitalDOA"); }
    void CompassUpdate(const BearingPacket& p) override {
        rec("CompassUpdate", FormatBearingPacket(p));
    }
    void Draw_Meter(bool isSMeter, std::int32_t value) override {
        rec("Draw_Meter", std::string(isSMeter ? "S," : "T,") + std::to_string(value));
    }
    void ProcessStatusString(const StatusLine& s) override {
        rec("ProcessStatusString", FormatStatusLine(s));
    }
    void LoadAntSettings(const AntennaLine& a, bool ack) override {
        rec("LoadAntSettings", FormatAntennaLine(a) + (ack ? "|ack" : "|noack"));
    }
    void GPSDisplay(const GpsFix& fix) override { rec("GPSDisplay", FormatGpsPacket(fix)); }
    void StopBearings() override { rec("StopBearings"); }
    void GPS_Blank() override { rec("GPS_Blank"); }

    std::vector<std::string> names() const {
        std::vector<std::string> n;
        for (const auto& c : calls) {
            n.push_back(c.name);
        }
        return n;
    }

    std::vector<DecoderCall> calls;

  private:
    void rec(const char* name, std::string args = {}) { calls.push_back({name, std::move(args)}); }
};

}  // namespace kestrova::testing
