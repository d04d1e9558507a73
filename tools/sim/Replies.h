// What the display should answer, what it did answer, and whether the two agree.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace kestrova::sim {

enum class Reply {
    None,       // nothing is sent back
    Ack,        // CR LF
    Reject,     // BEL CR LF
    Undefined,  // the display's answer is not settled for this line: any of the three
};

// The answer a status line draws, from its "A" through its LF, by the display's own grammar.
Reply expectedStatusReply(std::string_view line);

struct AnswerCounts {
    long nul = 0;
    long ack = 0;
    long reject = 0;
    long stray = 0;  // bytes that fit none of the three messages
};

// Splits the display's output into stay-alive NULs, CR LF and BEL CR LF. Answers may be cut
// anywhere between reads; a NUL may fall between the bytes of an answer.
class AnswerParser {
  public:
    void feed(std::string_view bytes);
    // The run is over: a half-received answer counts as stray bytes.
    void finish();
    const AnswerCounts& counts() const { return counts_; }

  private:
    enum class State { Idle, Bel, Cr, BelCr };
    void step(char c);
    State state_ = State::Idle;
    AnswerCounts counts_;
};

// Cuts a byte stream into packets as the display's receive buffer does when it keeps up with
// the line, by the display's framing; anything else is dropped through the next LF.
class Framer {
  public:
    // The packet types in the order of PacketType, then the rest.
    enum class Kind { Bearing, Status, Antenna, Gps, Unrecognised };
    struct Packet {
        Kind kind;
        std::string text;
        std::uint64_t begin;  // stream offset of the first character
    };

    void push(std::string_view bytes) { buf_.append(bytes); }
    // The next complete packet, or false when the buffer holds only the start of one.
    bool pop(Packet& out);
    void reset(std::uint64_t offset);
    std::size_t buffered() const { return buf_.size(); }

  private:
    std::string buf_;
    std::uint64_t offset_ = 0;  // stream offset of buf_[0]
};

struct Expectation {
    long ackMin = 0, ackMax = 0;
    long rejectMin = 0, rejectMax = 0;
};

// Bookkeeping of the answers the stream should draw from a display that is connected and
// healthy. Answers counted as certain must arrive; answers the display may have missed (a
// line cut off by connecting or disconnecting, a packet stuck behind garbage when the stream
// ended) only widen the accepted range.
class ReplyLedger {
  public:
    // The display resumes handling after an unrecognised head once this many characters stand
    // in its buffer.
    static constexpr std::uint64_t kResyncLength = 421;
    // Characters after a (re)connection whose framing is taken as unsure: the display may flush
    // or lose the first bytes while it opens the line.
    static constexpr std::uint64_t kConnectSlack = 512;

    explicit ReplyLedger(double graceSeconds = 0.3) : grace_(graceSeconds) {}

    void connect();
    void disconnect(double now);
    // Bytes that reached the connected display at time `now` (seconds).
    void deliver(std::string_view bytes, double now);
    // The run is over; call after the display had time to answer.
    void finish(double now);

    Expectation expectation() const { return exp_; }
    long linesExpectingAnswers() const { return lines_; }

  private:
    struct Pending {
        Reply reply;
        bool sure;
        std::uint64_t holdUntil;  // stream offset the display must have received to handle it
        double releasedAt;        // < 0 until then
    };
    void settle(double now);
    void count(const Pending& p, bool sure);

    double grace_;
    bool connected_ = false;
    Framer framer_;
    std::uint64_t delivered_ = 0;
    std::uint64_t holdUntil_ = 0;
    std::uint64_t unsureUntil_ = 0;
    std::uint64_t lostSyncUntil_ = 0;
    std::deque<Pending> pending_;
    Expectation exp_;
    long lines_ = 0;
};

struct Verdict {
    bool ok = true;
    std::string problems;  // "; "-separated, empty when ok
};

// Stay-alive NULs expected over `seconds` of connection: 1.6 to 2.4 a second, with one NUL of
// slack at either end for the phase of the display's timer.
bool stayAliveRateOk(long nul, double seconds);
double stayAliveMin(double seconds);
double stayAliveMax(double seconds);

Verdict judge(const AnswerCounts& got, const Expectation& want, double connectedSeconds);

}  // namespace kestrova::sim
