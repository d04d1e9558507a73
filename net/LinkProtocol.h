#pragma once
// What travels on a network connection to the processor besides its characters: nothing (raw
// TCP), Telnet with serial port control, or a share's records. Bytes in; the processor's data,
// the answers owed to the far end, and notices for the operator out.

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/SerialLine.h"
#include "net/Endpoint.h"

namespace kestrova {

class LinkProtocol {
  public:
    virtual ~LinkProtocol() = default;

    // Sent as soon as the connection is up.
    virtual std::string greeting() { return {}; }
    // Bytes from the far end: the processor's characters are appended to `data`, what must be
    // answered to `replies`.
    virtual void receive(std::string_view in, std::string& data, std::string& replies) = 0;
    // The processor's characters as they go on the connection; nothing when none may be sent.
    virtual std::string encode(std::string_view text) const { return std::string(text); }
    // What to send when the line options change (and, once agreed, their first setting).
    virtual std::string lineOptions(const LineOptions& /*options*/) { return {}; }
    // Why the far end cannot be trusted any more; "" while it can.
    const std::string& problem() const { return problem_; }
    // What the operator should know, each once.
    std::vector<std::string> takeNotices() { return std::exchange(notices_, {}); }
    // The far end must send something at least this often (0: silence is the processor's).
    virtual long silenceLimitMs() const { return 0; }

  protected:
    void fail(std::string why) {
        if (problem_.empty()) {
            problem_ = std::move(why);
        }
    }
    void notice(std::string text) { notices_.push_back(std::move(text)); }

  private:
    std::string problem_;
    std::vector<std::string> notices_;
};

class RawProtocol : public LinkProtocol {
  public:
    void receive(std::string_view in, std::string& data, std::string& /*replies*/) override {
        data.append(in);
    }
};

// The protocol a scheme speaks.
std::unique_ptr<LinkProtocol> ProtocolFor(Scheme scheme);

}  // namespace kestrova
