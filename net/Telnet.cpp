#include "net/Telnet.h"

#include <algorithm>

namespace kestrova::telnet {

namespace {

std::string text(std::initializer_list<unsigned char> bytes) {
    std::string s;
    for (const unsigned char b : bytes) {
        s += static_cast<char>(b);
    }
    return s;
}

// IAC SB COM-PORT-OPTION <command> <value> IAC SE, the value's 0xFF doubled as everywhere.
std::string comPort(unsigned char command, std::string_view value) {
    return text({kIac, kSb, kComPort}) + Escape(text({command}) + std::string(value)) +
           text({kIac, kSe});
}

std::string control(const LineOptions& o) {
    constexpr unsigned char kNoFlow = 1, kHardwareFlow = 3, kDtrOn = 8, kDtrOff = 9, kRtsOn = 11,
                            kRtsOff = 12;
    std::string s = comPort(kSetControl, text({o.handshaking ? kHardwareFlow : kNoFlow}));
    s += comPort(kSetControl, text({o.dtr ? kDtrOn : kDtrOff}));
    if (!o.handshaking) {
        s += comPort(kSetControl, text({o.rts ? kRtsOn : kRtsOff}));
    }
    return s;
}

std::string parityName(unsigned char p) {
    constexpr std::array<const char*, 6> kNames{"asked for", "none", "odd",
                                                "even",      "mark", "space"};
    return p < kNames.size() ? kNames[p] : std::to_string(p);
}

bool weSupport(unsigned char option) {
    return option == kBinary || option == kSuppressGoAhead || option == kComPort;
}

bool serverMay(unsigned char option) {
    return option == kBinary || option == kSuppressGoAhead;
}

}  // namespace

std::string Escape(std::string_view in) {
    std::string out;
    out.reserve(in.size() + 8);
    for (const char c : in) {
        out += c;
        if (static_cast<unsigned char>(c) == kIac) {
            out += c;
        }
    }
    return out;
}

std::string Client::greeting() {
    us_[kBinary] = us_[kComPort] = him_[kBinary] = Q::WantYes;
    return text({kIac, kWill, kBinary, kIac, kDo, kBinary, kIac, kWill, kComPort});
}

std::string Client::settings() const {
    constexpr unsigned char kEightBits = 8, kNoParity = 1, kOneStopBit = 1;
    return comPort(kSetBaudRate, text({static_cast<unsigned char>(kBaud >> 24),
                                       static_cast<unsigned char>(kBaud >> 16 & 0xFF),
                                       static_cast<unsigned char>(kBaud >> 8 & 0xFF),
                                       static_cast<unsigned char>(kBaud & 0xFF)})) +
           comPort(kSetDataSize, text({kEightBits})) + comPort(kSetParity, text({kNoParity})) +
           comPort(kSetStopSize, text({kOneStopBit})) + control(options_);
}

std::string Client::lineOptions(const LineOptions& options) {
    options_ = options;
    return us_[kComPort] == Q::Yes ? control(options_) : std::string();
}

void Client::receive(std::string_view in, std::string& data, std::string& replies) {
    std::size_t i = 0;
    while (i < in.size() && problem().empty()) {
        if (state_ == State::Data) {
            // The processor's characters go through in runs, up to the next IAC.
            const std::size_t iac = std::min(in.find(static_cast<char>(kIac), i), in.size());
            data.append(in.substr(i, iac - i));
            i = iac + 1;
            if (iac < in.size()) {
                state_ = State::Iac;
            }
            continue;
        }
        const auto c = static_cast<unsigned char>(in[i++]);
        if (state_ == State::Iac) {
            command(c, data);
        } else if (state_ == State::Option) {
            negotiate(verb_, c, replies);
            state_ = State::Data;
        } else if (state_ == State::SbOption) {
            sbOption_ = c;
            sb_.clear();
            state_ = State::SbData;
        } else {
            subnegotiationByte(c);
        }
    }
}

void Client::subnegotiationByte(unsigned char c) {
    if (state_ == State::SbData && c == kIac) {
        state_ = State::SbIac;
        return;
    }
    if (state_ == State::SbIac && c == kSe) {
        subnegotiation();
        state_ = State::Data;
        return;
    }
    if (state_ == State::SbIac && c != kIac) {
        fail("damaged subnegotiation from the server (IAC " + std::to_string(c) + ")");
        return;
    }
    if (sb_.size() >= kMaxSubnegotiation) {
        fail("subnegotiation from the server longer than " + std::to_string(kMaxSubnegotiation) +
             " bytes");
        return;
    }
    sb_ += static_cast<char>(c);
    state_ = State::SbData;
}

void Client::command(unsigned char c, std::string& data) {
    state_ = State::Data;
    if (c == kIac) {
        data += static_cast<char>(c);
    } else if (c >= kWill && c <= kDont) {
        verb_ = c;
        state_ = State::Option;
    } else if (c == kSb) {
        state_ = State::SbOption;
    } else if (c < kSe) {
        fail("Telnet garbage from the server (IAC " + std::to_string(c) + ")");
    }
    // The rest (NOP, data mark, break, go ahead...) carries nothing for the line.
}

void Client::negotiate(unsigned char verb, unsigned char option, std::string& replies) {
    if (++negotiations_ > kMaxNegotiations) {
        fail("endless option negotiation from the server");
        return;
    }
    const bool ours = verb == kDo || verb == kDont;
    Q& q = ours ? us_[option] : him_[option];
    const unsigned char yes = ours ? kWill : kDo;
    const unsigned char no = ours ? kWont : kDont;
    if (verb == kDo || verb == kWill) {
        if (q == Q::Yes) {
            return;
        }
        if (!(ours ? weSupport(option) : serverMay(option))) {
            replies += text({kIac, no, option});
            return;
        }
        if (q == Q::No) {
            replies += text({kIac, yes, option});
        }
        q = Q::Yes;
        if (ours && option == kComPort) {
            replies += settings();
        }
        return;
    }
    const Q was = std::exchange(q, Q::No);
    if (was == Q::Yes) {
        replies += text({kIac, no, option});
    }
    if (was != Q::No && option == kComPort) {
        notice("the server refuses serial port control; the line runs at its own settings");
    } else if (was != Q::No && option == kBinary) {
        notice("the server refuses binary mode");
    }
}

void Client::subnegotiation() {
    if (sbOption_ != kComPort || sb_.empty()) {
        return;
    }
    const auto code = static_cast<unsigned char>(sb_[0]);
    const std::string_view value = std::string_view(sb_).substr(1);
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(value[i]); };
    if (code == kServerBase + kSetBaudRate && value.size() == 4) {
        const std::uint32_t baud = std::uint32_t{byte(0)} << 24 | std::uint32_t{byte(1)} << 16 |
                                   std::uint32_t{byte(2)} << 8 | byte(3);
        if (baud != kBaud) {
            notice("the server set " + std::to_string(baud) + " baud, not 19200");
        }
    } else if (value.size() != 1) {
        return;
    } else if (code == kServerBase + kSetDataSize && byte(0) != 8) {
        notice("the server set " + std::to_string(byte(0)) + " data bits, not 8");
    } else if (code == kServerBase + kSetParity && byte(0) != 1) {
        notice("the server set parity " + parityName(byte(0)) + ", not none");
    } else if (code == kServerBase + kSetStopSize && byte(0) != 1) {
        notice("the server set " + std::string(byte(0) == 3 ? "1.5" : std::to_string(byte(0))) +
               " stop bits, not 1");
    }
}

}  // namespace kestrova::telnet
