#include "tools/sim/Replies.h"

#include "protocol/Framing.h"
#include "protocol/StatusPacket.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace kestrova::sim {

namespace {

constexpr char kNul = '\0';
constexpr char kBel = '\a';
constexpr char kCr = '\r';
constexpr char kLf = '\n';

}  // namespace

Reply expectedStatusReply(std::string_view line) {
    switch (StatusReply(ParseStatusLine(line))) {
        case kestrova::Reply::Ack:
            return Reply::Ack;
        case kestrova::Reply::Reject:
            return Reply::Reject;
        case kestrova::Reply::None:
            break;
    }
    return Reply::None;
}

void AnswerParser::feed(std::string_view bytes) {
    for (char c : bytes) {
        step(c);
    }
}

void AnswerParser::step(char c) {
    if (c == kNul) {
        ++counts_.nul;
        return;
    }
    if (state_ == State::Bel && c == kCr) {
        state_ = State::BelCr;
        return;
    }
    if ((state_ == State::Cr || state_ == State::BelCr) && c == kLf) {
        ++(state_ == State::Cr ? counts_.ack : counts_.reject);
        state_ = State::Idle;
        return;
    }
    // What was begun is no answer.
    counts_.stray += state_ == State::BelCr ? 2 : state_ == State::Idle ? 0 : 1;
    // The byte did not continue an answer: it may start one.
    if (c == kBel) {
        state_ = State::Bel;
    } else if (c == kCr) {
        state_ = State::Cr;
    } else {
        state_ = State::Idle;
        ++counts_.stray;
    }
}

void AnswerParser::finish() {
    switch (state_) {
        case State::Idle:
            break;
        case State::Bel:
        case State::Cr:
            counts_.stray += 1;
            break;
        case State::BelCr:
            counts_.stray += 2;
            break;
    }
    state_ = State::Idle;
}

bool Framer::pop(Packet& out) {
    if (buf_.empty()) {
        return false;
    }
    std::size_t take = 0;
    Kind kind = Kind::Unrecognised;
    if (const auto head = HeadPacket(buf_)) {
        kind = static_cast<Kind>(head->type);
        take = head->length;
    } else if (FramingOf(buf_[0]) != nullptr) {
        return false;  // the rest of the packet is still to come
    } else {
        // Garbage is dropped through its line end once enough has gathered; with no line end
        // in sight the whole gathered text goes.
        const auto lf = buf_.find(kLf);
        if (lf != std::string::npos && lf < ReplyLedger::kResyncLength) {
            take = lf + 1;
        } else if (buf_.size() >= ReplyLedger::kResyncLength) {
            take = ReplyLedger::kResyncLength;
        } else {
            return false;
        }
    }
    out = Packet{kind, buf_.substr(0, take), offset_};
    buf_.erase(0, take);
    offset_ += take;
    return true;
}

void Framer::reset(std::uint64_t offset) {
    buf_.clear();
    offset_ = offset;
}

void ReplyLedger::connect() {
    connected_ = true;
    framer_.reset(delivered_);
    holdUntil_ = 0;
    unsureUntil_ = delivered_ + kConnectSlack;
}

void ReplyLedger::disconnect(double now) {
    settle(now);
    for (const auto& p : pending_) {
        count(p, false);
    }
    pending_.clear();
    connected_ = false;
}

void ReplyLedger::deliver(std::string_view bytes, double now) {
    if (!connected_) {
        return;
    }
    framer_.push(bytes);
    delivered_ += bytes.size();
    Framer::Packet p;
    while (framer_.pop(p)) {
        if (p.kind == Framer::Kind::Unrecognised) {
            holdUntil_ = std::max(holdUntil_, p.begin + kResyncLength);
            if (p.text.back() != kLf) {
                // The display cut its buffer at a point we cannot know: framing is a guess
                // until well after the next line end.
                lostSyncUntil_ = std::max(lostSyncUntil_, delivered_ + 2 * kResyncLength);
            }
            continue;
        }
        Reply r = Reply::None;
        if (p.kind == Framer::Kind::Status) {
            r = expectedStatusReply(p.text);
        } else if (p.kind == Framer::Kind::Antenna) {
            r = Reply::Ack;
        }
        if (r == Reply::None) {
            continue;
        }
        ++lines_;
        if (p.begin < lostSyncUntil_) {
            r = Reply::Undefined;
        }
        const bool sure = p.begin >= unsureUntil_ && p.begin >= lostSyncUntil_;
        pending_.push_back(Pending{r, sure, holdUntil_, -1.0});
    }
    settle(now);
}

void ReplyLedger::finish(double now) {
    disconnect(now);
}

void ReplyLedger::settle(double now) {
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (it->releasedAt < 0 && delivered_ >= it->holdUntil) {
            it->releasedAt = now;
        }
        if (it->releasedAt >= 0 && now - it->releasedAt >= grace_) {
            count(*it, it->sure);
            it = pending_.erase(it);
        } else {
            ++it;
        }
    }
}

void ReplyLedger::count(const Pending& p, bool sure) {
    const bool ack = p.reply == Reply::Ack;
    const bool rej = p.reply == Reply::Reject;
    const bool any = p.reply == Reply::Undefined;
    if (sure && ack) {
        ++exp_.ackMin;
    }
    if (sure && rej) {
        ++exp_.rejectMin;
    }
    exp_.ackMax += (ack || any) ? 1 : 0;
    exp_.rejectMax += (rej || any) ? 1 : 0;
}

double stayAliveMin(double seconds) {
    return std::max(0.0, 1.6 * seconds - 1.0);
}
double stayAliveMax(double seconds) {
    return 2.4 * seconds + 1.0;
}

bool stayAliveRateOk(long nul, double seconds) {
    const double n = static_cast<double>(nul);
    return seconds > 0 && n >= stayAliveMin(seconds) && n <= stayAliveMax(seconds);
}

Verdict judge(const AnswerCounts& got, const Expectation& want, double connectedSeconds) {
    std::ostringstream why;
    why.setf(std::ios::fixed);
    why.precision(1);
    const char* sep = "";
    auto problem = [&](auto&&... parts) {
        why << sep;
        (why << ... << parts);
        sep = "; ";
    };
    if (connectedSeconds <= 0) {
        problem("no display connected");
    } else if (!stayAliveRateOk(got.nul, connectedSeconds)) {
        problem(got.nul, " nul in ", connectedSeconds, " s connected");
    }
    if (got.ack < want.ackMin || got.ack > want.ackMax) {
        problem(got.ack, " ack, expected ", want.ackMin, "..", want.ackMax);
    }
    if (got.reject < want.rejectMin || got.reject > want.rejectMax) {
        problem(got.reject, " rej, expected ", want.rejectMin, "..", want.rejectMax);
    }
    if (got.stray > 0) {
        problem(got.stray, " stray bytes");
    }
    Verdict v;
    v.problems = why.str();
    v.ok = v.problems.empty();
    return v;
}

}  // namespace kestrova::sim
