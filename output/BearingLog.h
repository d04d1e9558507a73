#pragma once
// The bearing log: a CSV row for every bearing the digital readout shows, for triangulation
// and reports. Columns: local time with milliseconds, the readout as shown, REL or ABS,
// signal strength, band text, latitude and longitude in signed decimal degrees (empty while
// the position is blanked), and the true bearing the lines of bearing made of it (empty when
// they could not). Rows are appended, each start's after the header row. A file that cannot
// be written is reported once, and the display carries on.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/Readings.h"
#include "output/OutputFile.h"

namespace kestrova {

// One CSV field: UTF-8 from the display's Latin-1, quoted when it holds a comma, a quote or
// a line end.
std::string CsvField(std::string_view latin1);

class BearingLog : public ReadingListener {
  public:
    using Report = std::function<void(std::string_view)>;
    static constexpr std::string_view kHeader =
        "time,bearing,mode,signal,band,latitude,longitude,true_bearing\n";
    // The true bearing made of the readout just shown (degrees); nothing when none could be.
    using TrueBearing = std::function<std::optional<double>()>;

    BearingLog(OutputFile& file, Report report) : file_(file), report_(std::move(report)) {}
    ~BearingLog() override { finish(); }
    BearingLog(const BearingLog&) = delete;
    BearingLog& operator=(const BearingLog&) = delete;

    // Opens path for appending; false, reported, when it cannot be written.
    bool start(const std::string& path);
    void finish();
    bool logging() const { return logging_; }

    void bearingShown(const BearingShown& b) override;
    // Asked for each row; without it the column stays empty.
    void setTrueBearing(TrueBearing trueBearing) { trueBearing_ = std::move(trueBearing); }

  private:
    void fail();
    std::string trueBearingField() const;

    OutputFile& file_;
    Report report_;
    TrueBearing trueBearing_;
    std::string path_;
    bool logging_ = false;
};

}  // namespace kestrova
