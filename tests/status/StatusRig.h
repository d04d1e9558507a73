#pragma once
// A station on fakes for the device-status procedures. Replies written to the line are noted in
// the display's log, so a test sees where they fall among the banner calls.

#include <set>
#include <string>
#include <vector>

#include "app/Station.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/RecordingDisplay.h"

namespace kestrova::testing {

// "BEL CR LF" for "\a\r\n": replies as readable words.
inline std::string byteNames(std::string_view bytes) {
    std::string out;
    for (const char ch : bytes) {
        if (!out.empty()) {
            out += ' ';
        }
        switch (ch) {
            case '\a':
                out += "BEL";
                break;
            case '\r':
                out += "CR";
                break;
            case '\n':
                out += "LF";
                break;
            default:
                out += ch;
        }
    }
    return out;
}

class LoggingLine : public FakeSerialLine {
  public:
    explicit LoggingLine(std::vector<std::string>& log) : log_(log) {}
    bool writeOutput(std::string_view text) override {
        log_.push_back("reply " + byteNames(text));
        return FakeSerialLine::writeOutput(text);
    }

  private:
    std::vector<std::string>& log_;
};

struct StatusRig {
    StatusRig() {
        line.open();
        st.programFolder = "/prog";
        for (std::size_t i = 1; i <= 15; ++i) {
            st.BandText[i] = "band " + std::to_string(i);
        }
        // As the start-up sequence leaves them.
        display.visible[static_cast<std::size_t>(El::BatteryMeter)] = false;
        display.visible[static_cast<std::size_t>(El::FrameDFOff)] = false;
    }

    // The log entries of the device-status elements and the replies; what the bearing
    // displays draw when parked belongs to them and is left out.
    std::vector<std::string> statusLog() const {
        static const std::set<std::string> mine = {
            "Banner_Op_Mode",      "Banner_IF_BW",      "Banner_AntOrientation",
            "Banner_Local_Remote", "Banner_Video_Gain", "Banner_Ant_Band",
            "Banner_Ant_Mod",      "FrameDFOff",        "BatteryMeter"};
        std::vector<std::string> out;
        for (const auto& e : display.log) {
            const std::size_t space = e.find(' ');
            const std::string name = e.substr(space + 1, e.find('=') - space - 1);
            if (e.starts_with("reply ") || mine.count(name)) {
                out.push_back(e);
            }
        }
        return out;
    }

    RecordingDisplay display;
    LoggingLine line{display.log};
    Station st{display, line};
};

}  // namespace kestrova::testing
