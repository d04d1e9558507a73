#pragma once
// Records every call the link makes through its decoder seam, with the buffer as it stood.

#include <string>
#include <vector>

#include "core/Station.h"
#include "link/Decoders.h"

namespace kestrova::testing {

struct DecoderCall {
    std::string name;
    std::string args;
    std::string rxHead;  // RxBuffer at the moment of the call
};

class RecordingDecoders : public Decoders {
  public:
    explicit RecordingDecoders(const Station* st = nullptr) : st_(st) {}
    explicit RecordingDecoders(const Station& st) : st_(&st) {}

    void DrawLine() override { rec("DrawLine"); }
    void DrawDigitalDOA() override { rec("DrawDigitalDOA"); }
    void CompassUpdate() override { rec("CompassUpdate"); }
    void Draw_Meter(bool isSMeter, std::int32_t value) override {
        rec("Draw_Meter", std::string(isSMeter ? "S," : "T,") + std::to_string(value));
    }
    void ProcessStatusString() override { rec("ProcessStatusString"); }
    void LoadAntSettings(const std::string& data, bool ack) override {
        rec("LoadAntSettings", data + (ack ? "|ack" : "|noack"));
    }
    bool GPSDisplay() override {
        rec("GPSDisplay");
        return gpsShown;
    }
    void Draw_Polar(std::int16_t x, std::int16_t y, std::int16_t offset, bool relative,
                    std::int16_t heading, bool airMount) override {
        rec("Draw_Polar", std::to_string(x) + "," + std::to_string(y) + "," +
                              std::to_string(offset) + "," + (relative ? "T" : "F") + "," +
                              std::to_string(heading) + "," + (airMount ? "T" : "F"));
    }
    void DigitalDOA_Blank() override { rec("DigitalDOA_Blank"); }
    void GPS_Blank() override { rec("GPS_Blank"); }

    std::vector<std::string> names() const {
        std::vector<std::string> n;
        for (const auto& c : calls) {
            n.push_back(c.name);
        }
        return n;
    }

    std::vector<DecoderCall> calls;
    bool gpsShown = true;

  private:
    void rec(const char* name, std::string args = {}) {
        calls.push_back({name, std::move(args), st_ ? st_->link.RxBuffer : std::string()});
    }
    const Station* st_;
};

}  // namespace kestrova::testing
