// kestrova-sim: the processor's side of the serial line on a pseudo-terminal.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "tools/sim/Options.h"
#include "tools/sim/Pacing.h"
#include "tools/sim/Replies.h"
#include "tools/sim/Stream.h"
#include "tools/sim/Terminal.h"

namespace {

using namespace kestrova::sim;

volatile std::sig_atomic_t g_stop = 0;
void onSignal(int) {
    g_stop = 1;
}

constexpr int kTickMs = 10;        // pacing granularity: ~19 characters a chunk
constexpr double kMaxDrain = 0.5;  // quiet time at the end for answers still on their way

// Packets sent, by Framer::Kind.
using Counts = std::array<long, 5>;

class Simulator {
  public:
    // `waitForDisplay`: the run (and its duration) starts when a display opens the terminal.
    Simulator(Options opt, std::unique_ptr<Source> src, int master, bool waitForDisplay)
        : opt_(std::move(opt)),
          src_(std::move(src)),
          master_(master),
          waitForDisplay_(waitForDisplay) {}

    bool openRecord(std::string& error) {
        if (opt_.record.empty()) {
            return true;
        }
        record_.open(opt_.record, std::ios::binary | std::ios::trunc);
        if (!record_) {
            error = "cannot write \"" + opt_.record + "\"";
            return false;
        }
        return true;
    }

    // Runs until the duration is over or a signal arrives; returns the summary verdict.
    bool run(std::string& summary);

  private:
    double now() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }
    void log(double t, const std::string& text) const {
        if (opt_.verbose) {
            std::fprintf(stderr, "[%8.3f] %s\n", t, text.c_str());
        }
    }
    void awaitDisplay();
    std::string summarise(const Verdict& v) const;
    void setConnected(bool up, double t);
    void readAnswers(double t);
    void feedLine(double t);
    void transmit(const std::string& bytes, double t);
    bool displayHolds() const;

    Options opt_;
    std::unique_ptr<Source> src_;
    int master_;
    bool waitForDisplay_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::ofstream record_;

    Pacer pacer_;
    ReplyLedger ledger_;
    AnswerParser parser_;
    Framer sent_;
    Counts counts_{};

    bool connected_ = false;
    double connectedSince_ = 0;
    double connectedTotal_ = 0;

    Piece piece_;
    std::size_t pieceAt_ = 0;
    bool streamEnded_ = false;
    double silentUntil_ = 0;
};

void Simulator::setConnected(bool up, double t) {
    if (up == connected_) {
        return;
    }
    connected_ = up;
    if (up) {
        connectedSince_ = t;
        ledger_.connect();
        src_->displayConnected();
        log(t, "display connected");
    } else {
        connectedTotal_ += t - connectedSince_;
        ledger_.disconnect(t);
        log(t, "display disconnected");
    }
}

void Simulator::readAnswers(double t) {
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0) {
            return;  // EAGAIN: all read; EIO: the far end closed, seen by poll as well
        }
        const AnswerCounts before = parser_.counts();
        parser_.feed(std::string_view(buf, static_cast<std::size_t>(n)));
        const AnswerCounts& after = parser_.counts();
        if (after.ack != before.ack) {
            log(t, std::to_string(after.ack - before.ack) + " ack");
        }
        if (after.reject != before.reject) {
            log(t, std::to_string(after.reject - before.reject) + " rej");
        }
        if (after.stray != before.stray) {
            log(t, std::to_string(after.stray - before.stray) + " stray bytes");
        }
    }
}

void Simulator::transmit(const std::string& bytes, double t) {
    if (record_) {
        record_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    sent_.push(bytes);
    Framer::Packet p;
    while (sent_.pop(p)) {
        ++counts_[static_cast<std::size_t>(p.kind)];
    }
    pacer_.sent(bytes.size());
    if (!connected_) {
        return;  // the line carries them to nobody; the pty would keep them for the next open
    }
    const ssize_t n = ::write(master_, bytes.data(), bytes.size());
    const std::size_t written = n > 0 ? static_cast<std::size_t>(n) : 0;
    ledger_.deliver(std::string_view(bytes.data(), written), t);
    if (written < bytes.size()) {
        // The display is not reading and the terminal's buffer is full: an overrun. Its
        // framing restarts as after a fresh connection.
        log(t, "display not reading: " + std::to_string(bytes.size() - written) + " lost");
        ledger_.disconnect(t);
        ledger_.connect();
    }
}

void Simulator::feedLine(double t) {
    if (t < silentUntil_) {
        return;
    }
    std::size_t budget = pacer_.budget(t);
    std::string chunk;
    while (budget > 0 && !streamEnded_) {
        if (pieceAt_ >= piece_.bytes.size()) {
            if (!src_->next(piece_)) {
                streamEnded_ = true;
                log(t, "end of replay");
                break;
            }
            pieceAt_ = 0;
            for (const auto& n : src_->takeNotes()) {
                if (opt_.verbose) {
                    std::fprintf(stderr, "%s\n", n.c_str());
                }
            }
            if (piece_.silenceBefore > 0) {
                silentUntil_ = t + piece_.silenceBefore;
                pacer_.restart(silentUntil_);
                break;
            }
            if (piece_.startAt > t) {
                silentUntil_ = piece_.startAt;
                pacer_.restart(silentUntil_);
                break;
            }
        }
        const std::size_t n = std::min(budget, piece_.bytes.size() - pieceAt_);
        chunk.append(piece_.bytes, pieceAt_, n);
        pieceAt_ += n;
        budget -= n;
    }
    if (!chunk.empty()) {
        transmit(chunk, t);
    }
}

bool Simulator::displayHolds() const {
    // The master reports a hang-up for as long as nobody holds the far end open.
    pollfd p{master_, POLLIN, 0};
    ::poll(&p, 1, 0);
    return (p.revents & POLLHUP) == 0;
}

void Simulator::awaitDisplay() {
    log(0, "waiting for a display");
    while (!g_stop && !displayHolds()) {
        ::poll(nullptr, 0, kTickMs);
    }
    start_ = std::chrono::steady_clock::now();
}

bool Simulator::run(std::string& summary) {
    if (waitForDisplay_) {
        awaitDisplay();
    }
    const double drain = std::min(kMaxDrain, opt_.duration / 4);
    const double streamEnd = opt_.duration - drain;
    pacer_.restart(0);
    double t = 0;
    while (!g_stop && (t = now()) < opt_.duration) {
        pollfd p{master_, POLLIN, 0};
        const int wait =
            std::max(1, std::min(kTickMs, static_cast<int>((opt_.duration - t) * 1000)));
        if (connected_) {
            ::poll(&p, 1, wait);
        } else {
            // The master reports a hang-up for as long as nobody holds the far end open, so
            // waiting on it would spin.
            ::poll(nullptr, 0, wait);
            ::poll(&p, 1, 0);
        }
        t = now();
        if (p.revents & POLLIN) {
            readAnswers(t);
        }
        setConnected((p.revents & POLLHUP) == 0, t);
        if (t < streamEnd) {
            feedLine(t);
        }
    }
    t = now();
    readAnswers(t);
    setConnected(false, t);
    ledger_.finish(t);
    parser_.finish();

    const Verdict v = judge(parser_.counts(), ledger_.expectation(), connectedTotal_);
    summary = summarise(v);
    return v.ok;
}

std::string Simulator::summarise(const Verdict& v) const {
    const AnswerCounts& got = parser_.counts();
    const Expectation want = ledger_.expectation();
    std::ostringstream s;
    s.setf(std::ios::fixed);
    s.precision(1);
    s << "sent: " << counts_[0] << " bearing, " << counts_[1] << " status, " << counts_[2]
      << " antenna, " << counts_[3] << " gps, " << counts_[4] << " other";
    if (const auto* gen = dynamic_cast<const StreamGenerator*>(src_.get())) {
        s << ", " << gen->tally().pauses << " pauses, " << gen->tally().faults << " faults";
    }
    s << "; answers: " << got.nul << " nul, " << got.ack << " ack, " << got.reject << " rej";
    if (got.stray > 0) {
        s << ", " << got.stray << " stray";
    }
    s << "; expected " << want.ackMin << ".." << want.ackMax << " ack, " << want.rejectMin << ".."
      << want.rejectMax << " rej, " << stayAliveMin(connectedTotal_) << ".."
      << stayAliveMax(connectedTotal_) << " nul in " << connectedTotal_ << " s connected; "
      << (v.ok ? "OK" : "MISMATCH: " + v.problems);
    return s.str();
}

// What to play: the replayed file or the generator. `timed`: the file has its own timing.
// False, said on stderr, when the file cannot be read.
bool chooseSource(Options& opt, std::unique_ptr<Source>& source, bool& timed) {
    if (!opt.replay.empty()) {
        std::string bytes;
        if (!readFile(opt.replay, bytes)) {
            std::fprintf(stderr, "kestrova-sim: cannot read \"%s\"\n", opt.replay.c_str());
            return false;
        }
        Replay replay = loadReplay(std::move(bytes));
        if (!replay.warning.empty()) {
            std::fprintf(stderr, "kestrova-sim: %s: %s; playing what comes before\n",
                         opt.replay.c_str(), replay.warning.c_str());
        }
        if (!opt.durationSet) {
            opt.duration = replay.length + 1.0;
        }
        timed = replay.timed;
        source = std::move(replay.source);
    } else {
        source = std::make_unique<StreamGenerator>(opt);
    }
    return true;
}

// Runs the simulator until its time is up or a signal ends it; the exit status.
// `truth`, when not "", is printed before the summary.
int play(Simulator&& sim, const std::string& truth) {
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    std::string error;
    if (!sim.openRecord(error)) {
        std::fprintf(stderr, "kestrova-sim: %s\n", error.c_str());
        return 3;
    }
    std::string summary;
    const int status = sim.run(summary) ? 0 : 1;
    if (!truth.empty()) {
        std::printf("%s\n", truth.c_str());
    }
    std::printf("%s\n", summary.c_str());
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    if (const auto error = parseArgs(argc, argv, opt); !error.empty()) {
        std::fprintf(stderr, "kestrova-sim: %s (try --help)\n", error.c_str());
        return 2;
    }
    if (opt.help) {
        std::printf("%s%s", helpText(), driveHelpText());
        return 0;
    }
    std::unique_ptr<Source> source;
    bool timed = false;
    if (!chooseSource(opt, source, timed)) {
        return 2;
    }
    std::string slave;
    const int master = openTerminal(slave);
    if (master < 0) {
        std::fprintf(stderr, "kestrova-sim: cannot open a pseudo-terminal: %s\n",
                     std::strerror(errno));
        return 3;
    }
    // The link first: whoever reads the path line may go straight to the link.
    std::string error;
    if (!opt.link.empty() && !makeLink(opt.link, slave, error)) {
        std::fprintf(stderr, "kestrova-sim: %s\n", error.c_str());
        return 3;
    }
    std::printf("%s\n", slave.c_str());
    std::fflush(stdout);
    const std::string link = opt.link;
    const std::string truth = opt.drive.active ? Drive(opt.drive).truth() : "";
    // A drive starts when a display opens the line, so that it sees all of it.
    const bool wait = timed || opt.drive.active;
    const int status = play(Simulator(std::move(opt), std::move(source), master, wait), truth);
    if (!link.empty()) {
        removeLink(link, slave);
    }
    ::close(master);
    return status;
}
