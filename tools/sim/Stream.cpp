#include "tools/sim/Stream.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "core/Numbers.h"
#include "tools/sim/Pacing.h"

namespace kestrova::sim {

namespace {

constexpr const char* kLineEnd = "\r\n";

}  // namespace

StreamGenerator::StreamGenerator(const Options& opt)
    : opt_(opt),
      rng_(opt.seed),
      bearing_(rng_),
      vehicle_(rng_, 52.37 + rng_.uniform(-0.1, 0.1), 4.89 + rng_.uniform(-0.1, 0.1)),
      tune_(rng_),
      events_(opt.events) {
    if (opt_.drive.active) {
        drive_.emplace(opt_.drive);
    }
    std::stable_sort(events_.begin(), events_.end(),
                     [](const Event& a, const Event& b) { return a.at < b.at; });
    if (drive_ && opt_.antennas.empty()) {
        antennas_ = {FormatAntennaLine(drive_->antenna())};
    } else if (opt_.antennas.empty()) {
        antennas_ = BuiltInAntennas();
    } else {
        for (const auto& a : opt_.antennas) {
            antennas_.push_back("C" + a + kLineEnd);
        }
    }
    bandCount_ = BandsOf(antennas_[0]);
    if (opt_.antennaEvery > 0) {
        nextAntenna_ = opt_.antennaEvery;
    }
    if (opt_.pauseEvery > 0) {
        nextPause_ = opt_.pauseFirst;
    }
    if (opt_.gpsGapEvery > 0) {
        nextGpsGap_ = opt_.gpsGapFirst;
    }
    // A drive keeps its compass and meter steady; scenario events may still interrupt them.
    nextCompassOut_ = drive_ ? kNever : 5 + rng_.exponential(20);
    nextTune_ = drive_ ? kNever : 3 + rng_.exponential(12);
    for (std::size_t k = 0; k < kFaultKinds; ++k) {
        nextFault_[k] = opt_.faults[k] ? 0.5 + rng_.exponential(opt_.faultEvery) : kNever;
    }
}

std::vector<std::string> StreamGenerator::builtInCycle() {
    std::vector<std::string> lines;
    StatusLine state = defaultStatus();
    for (const auto& step : StatusCycle()) {
        StatusLine f = state;
        ApplyStep(step, f, 3);
        lines.push_back(FormatStatusLine(f));
        if (!step.oneOff) {
            state = f;
        }
    }
    return lines;
}

void StreamGenerator::note(const std::string& text) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "[%8.3f] ", t_);
    notes_.push_back(buf + text);
}

std::vector<std::string> StreamGenerator::takeNotes() {
    std::vector<std::string> out;
    out.swap(notes_);
    return out;
}

void StreamGenerator::displayConnected() {
    announceAt_ = t_ + 1.0;
}

void StreamGenerator::setAntenna(const std::string& line) {
    bandCount_ = BandsOf(line);
    if (std::atoi(status_.band.c_str()) > bandCount_) {
        status_.band = ZeroPadded(bandCount_, 2);
    }
    note("antenna " + line.substr(1, line.find_first_of(",\r") - 1));
}

void StreamGenerator::advance(double seconds) {
    bearing_.advance(seconds);
    vehicle_.advance(seconds);
    tune_.advance(seconds);
    if (drive_) {
        drive_->advance(seconds);
    }
    t_ += seconds;
}

void StreamGenerator::runSchedules() {
    while (nextEvent_ < events_.size() && events_[nextEvent_].at <= t_) {
        startEvent(events_[nextEvent_++]);
    }
    char buf[96];
    if (t_ >= nextPause_) {
        pendingSilence_ += opt_.pauseLength;
        nextPause_ += opt_.pauseEvery;
    }
    if (t_ >= nextGpsGap_) {
        gpsGapUntil_ = std::max(gpsGapUntil_, t_ + opt_.gpsGapLength);
        nextGpsGap_ += opt_.gpsGapEvery;
        std::snprintf(buf, sizeof buf, "GPS gap %.1f s", opt_.gpsGapLength);
        note(buf);
    }
    if (t_ >= nextAntenna_) {
        antenna_ = (antenna_ + 1) % antennas_.size();
        setAntenna(antennas_[antenna_]);
        antennaDue_ = true;
        nextAntenna_ += opt_.antennaEvery;
    }
    if (t_ >= announceAt_) {
        antennaDue_ = true;
        announceAt_ = kNever;
    }
    if (t_ >= nextCompassOut_) {
        compassOffUntil_ = t_ + rng_.uniform(2, 6);
        nextCompassOut_ = compassOffUntil_ + rng_.exponential(20);
    }
    if (t_ >= nextTune_) {
        tuneUntil_ = t_ + rng_.uniform(1.5, 4);
        nextTune_ = tuneUntil_ + rng_.exponential(12);
    }
    for (std::size_t k = 0; k < kFaultKinds; ++k) {
        if (t_ >= nextFault_[k]) {
            armed_[k] = true;
            nextFault_[k] = t_ + rng_.exponential(opt_.faultEvery);
        }
    }
}

void StreamGenerator::startEvent(const Event& e) {
    char buf[96];
    switch (e.kind) {
        case Event::Kind::Pause:
            pendingSilence_ += e.length;
            break;
        case Event::Kind::GpsGap:
            gpsGapUntil_ = std::max(gpsGapUntil_, t_ + e.length);
            std::snprintf(buf, sizeof buf, "GPS gap %.1f s", e.length);
            note(buf);
            break;
        case Event::Kind::CompassOff:
            compassOffUntil_ = std::max(compassOffUntil_, t_ + e.length);
            break;
        case Event::Kind::Tune:
            tuneUntil_ = std::max(tuneUntil_, t_ + e.length);
            break;
        case Event::Kind::Status:
            extra_.push_back("A" + e.text + kLineEnd);
            break;
        case Event::Kind::Antenna:
            extra_.push_back("C" + e.text + kLineEnd);
            setAntenna(extra_.back());
            break;
        case Event::Kind::Inject:
            armed_[static_cast<std::size_t>(e.fault)] = true;
            break;
        case Event::Kind::Stop:
            stopMidPacket_ = e.length;
            break;
        case Event::Kind::NoiseStop:
            noiseStop_ = e.length;
            break;
    }
}

bool StreamGenerator::next(Piece& out) {
    if (carry_) {
        out = std::move(*carry_);
        carry_.reset();
        advance(out.silenceBefore + lineSeconds(out.bytes.size()));
        return true;
    }
    runSchedules();
    out = Piece{};
    if (pendingSilence_ > 0) {
        out.silenceBefore = pendingSilence_;
        pendingSilence_ = 0;
        ++tally_.pauses;
        char buf[48];
        std::snprintf(buf, sizeof buf, "pause %.1f s", out.silenceBefore);
        note(buf);
        advance(out.silenceBefore);
        runSchedules();
    }
    const std::string packet = nextPacket();
    out.bytes = carry_ ? packet.substr(0, packet.size() - carry_->bytes.size()) : packet;
    advance(lineSeconds(out.bytes.size()));
    return true;
}

std::string StreamGenerator::nextPacket() {
    if (noiseStop_ > 0) {
        pendingSilence_ += noiseStop_;  // taken before the next piece: noise, then nothing
        noiseStop_ = 0;
        note("noise, then a stop");
        return garbage();
    }
    if (armed_[static_cast<int>(Fault::Garbage)]) {
        armed_[static_cast<int>(Fault::Garbage)] = false;
        std::string packet = garbage();
        ++tally_.faults;
        note("fault garbage, " + std::to_string(packet.size()) + " characters");
        return packet;
    }
    std::string packet = choosePacket();
    applyFaults(packet);
    if (stopMidPacket_ > 0 && !carry_ && packet.size() > 1) {
        carry_ = Piece{stopMidPacket_, packet.substr(packet.size() / 2)};
        stopMidPacket_ = 0;
        note("stop in mid-packet");
    }
    return packet;
}

std::string StreamGenerator::choosePacket() {
    if (antennaDue_) {
        antennaDue_ = false;
        return antennas_[antenna_];
    }
    if (!extra_.empty()) {
        std::string line = std::move(extra_.front());
        extra_.pop_front();
        return line;
    }
    if (t_ >= nextStatus_) {
        nextStatus_ += opt_.statusEvery;
        if (nextStatus_ < t_) {  // after a pause: resume the rhythm rather than catch up
            nextStatus_ = t_ + opt_.statusEvery;
        }
        return statusPacket();
    }
    if (t_ >= nextGps_) {
        nextGps_ += opt_.gpsEvery;
        if (nextGps_ < t_) {
            nextGps_ = t_ + opt_.gpsEvery;
        }
        if (t_ >= gpsGapUntil_ && drive_) {
            const Place at = drive_->state().at;
            return formatGps(at.latitude, at.longitude);
        }
        if (t_ >= gpsGapUntil_) {
            return formatGps(vehicle_.latitude(), vehicle_.longitude());
        }
    }
    return bearingPacket();
}

std::string StreamGenerator::bearingPacket() {
    if (drive_) {
        BearingFields f = drive_->bearing(rng_);
        if (t_ < compassOffUntil_) {
            f.heading = -1;
            f.flag = 'N';
        }
        return formatBearing(f);
    }
    const Vector v = bearing_.measure();
    BearingFields f;
    f.x = v.x;
    f.y = v.y;
    if (t_ < tuneUntil_) {
        f.signal = false;
        f.meter = tune_.reading();
    } else {
        f.signal = true;
        f.meter = static_cast<int>(std::lround(std::min(bearing_.strength(), 99.0)));
    }
    if (t_ < compassOffUntil_) {
        f.heading = -1;
        f.flag = 'N';
    } else {
        f.heading = static_cast<int>(std::lround(vehicle_.heading())) % 360;
        f.flag = 'P';
    }
    return formatBearing(f);
}

std::string StreamGenerator::statusPacket() {
    if (!opt_.cycle.empty()) {
        return "A" + opt_.cycle[step_++ % opt_.cycle.size()] + "\r\n";
    }
    if (drive_) {
        return FormatStatusLine(drive_->status());
    }
    const auto& steps = StatusCycle();
    StatusLine f = status_;
    const CycleStep& s = steps[step_++ % steps.size()];
    ApplyStep(s, f, bandCount_);
    if (!s.oneOff) {
        status_ = f;
    }
    return FormatStatusLine(f);
}

std::string StreamGenerator::garbage() {
    // Line noise: anything but the type letters of framed packets and line ends, so that a
    // burst cannot pass for a packet.
    const int n = 8 + rng_.below(57);
    std::string s;
    while (static_cast<int>(s.size()) < n) {
        const auto c = static_cast<unsigned char>(rng_.uniform() < 0.8 ? 0x20 + rng_.below(0x5F)
                                                                       : 0x80 + rng_.below(0x80));
        if (c < 'A' || c > 'D') {
            s.push_back(static_cast<char>(c));
        }
    }
    return s;
}

void StreamGenerator::applyFaults(std::string& packet) {
    auto take = [&](Fault f) {
        bool& a = armed_[static_cast<std::size_t>(f)];
        const bool was = a;
        a = false;
        if (was) {
            ++tally_.faults;
            note(std::string("fault ") + faultName(f) + " on \"" +
                 packet.substr(0, packet.find('\r')) + "\"");
        }
        return was;
    };
    const char type = packet[0];
    const bool line = type == 'A' || type == 'C' || type == 'D';
    if (take(Fault::LowerCase)) {
        packet[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(type)));
    }
    if (line && take(Fault::LostLineEnd)) {
        packet.resize(packet.size() - 2);
    }
    if (type == 'B' && take(Fault::CutBearing)) {
        packet.resize(5 + static_cast<std::size_t>(rng_.below(11)));
    }
    if (packet.size() > 1 && take(Fault::StopResume)) {
        const std::size_t cut =
            1 + static_cast<std::size_t>(rng_.below(static_cast<int>(packet.size()) - 1));
        carry_ = Piece{rng_.uniform(0.3, 3.0), packet.substr(cut)};
    }
}

}  // namespace kestrova::sim
