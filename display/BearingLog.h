#pragma once
// The bearing log: a CSV row for every bearing the digital readout shows, for triangulation
// and reports. Columns: local time with milliseconds, the readout as shown, REL or ABS,
// signal strength, band text, latitude and longitude in signed decimal degrees (empty while
// the position is blanked). Rows are appended; a new or empty file gets the header row
// first. A file that cannot be written is reported once, and the display carries on.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/Display.h"
#include "core/LocalTime.h"
#include "core/OutputFile.h"

namespace kestrova {

// A decimal-minutes GPS label ("33° 52.1234' S", degree sign in Latin-1, degrees and minutes
// blank-padded as sent or not) in signed decimal degrees; nothing for the placeholder or any
// other text.
std::optional<double> DecimalDegrees(std::string_view label);

// One CSV field: UTF-8 from the display's Latin-1, quoted when it holds a comma, a quote or
// a line end.
std::string CsvField(std::string_view latin1);

class BearingLog {
  public:
    using Report = std::function<void(std::string_view)>;
    static constexpr std::string_view kHeader =
        "time,bearing,mode,signal,band,latitude,longitude\n";

    // `signal` reads the signal strength the readout was drawn with.
    BearingLog(OutputFile& file, const LocalClock& clock, std::function<int()> signal,
               Report report)
        : file_(file), clock_(clock), signal_(std::move(signal)), report_(std::move(report)) {}
    ~BearingLog() { finish(); }
    BearingLog(const BearingLog&) = delete;
    BearingLog& operator=(const BearingLog&) = delete;

    // Opens path for appending; false, reported, when it cannot be written.
    bool start(const std::string& path);
    void finish();
    bool logging() const { return logging_; }

    // A text the window was given. The elements that make a row are followed whether or not
    // the log is on, so a row is complete from the first bearing.
    void shown(El e, std::string_view latin1);

  private:
    void writeRow(std::string_view readout);
    void fail();

    OutputFile& file_;
    const LocalClock& clock_;
    std::function<int()> signal_;
    Report report_;
    std::string path_;
    bool logging_ = false;
    std::string mode_, band_, latitude_, longitude_;
};

// The window seen through the bearing log: every call goes to the window underneath, and the
// texts are shown to the log as well.
class BearingLogDisplay : public Display {
  public:
    BearingLogDisplay(Display& window, BearingLog& log) : window_(window), log_(log) {}

    void setText(El e, std::string_view latin1) override {
        window_.setText(e, latin1);
        log_.shown(e, latin1);
    }
    void setTextColour(El e, Rgb colour) override { window_.setTextColour(e, colour); }
    void setVisible(El e, bool visible) override { window_.setVisible(e, visible); }
    bool loadPicture(El e, const std::string& path) override {
        return window_.loadPicture(e, path);
    }
    void setLine(El e, int x1, int y1, int x2, int y2, Rgb colour) override {
        window_.setLine(e, x1, y1, x2, y2, colour);
    }
    void setNeedleValue(double degrees) override { window_.setNeedleValue(degrees); }
    void setNeedleColour(Rgb colour) override { window_.setNeedleColour(colour); }
    void setNeedleStrength(double fraction) override { window_.setNeedleStrength(fraction); }
    double twipsPerPixelY() const override { return window_.twipsPerPixelY(); }
    void bearingsStopped() override { window_.bearingsStopped(); }

  private:
    Display& window_;
    BearingLog& log_;
};

}  // namespace kestrova
