#pragma once
// The client side of Telnet to a serial server with the COM port control option: both
// directions binary, the line at 19200 baud, 8 data bits, no parity, 1 stop bit, with the flow
// control, DTR and RTS of the line options. Every request is answered at once and nothing is
// waited for: a server that refuses or sets something else is reported, never retried. Bounded
// against servers that negotiate without end or send endless or damaged subnegotiations.

#include <array>
#include <cstdint>

#include "net/LinkProtocol.h"

namespace kestrova::telnet {

inline constexpr unsigned char kIac = 255, kDont = 254, kDo = 253, kWont = 252, kWill = 251,
                               kSb = 250, kSe = 240;
inline constexpr unsigned char kBinary = 0, kEcho = 1, kSuppressGoAhead = 3, kComPort = 44;
// COM port commands; the server answers each with the command plus 100.
inline constexpr unsigned char kSetBaudRate = 1, kSetDataSize = 2, kSetParity = 3, kSetStopSize = 4,
                               kSetControl = 5, kServerBase = 100;
inline constexpr std::uint32_t kBaud = 19200;

// `text` with every 0xFF doubled.
std::string Escape(std::string_view text);

class Client : public LinkProtocol {
  public:
    static constexpr std::size_t kMaxSubnegotiation = 256;
    static constexpr int kMaxNegotiations = 64;

    std::string greeting() override;
    void receive(std::string_view in, std::string& data, std::string& replies) override;
    std::string encode(std::string_view text) const override { return Escape(text); }
    std::string lineOptions(const LineOptions& options) override;

  private:
    enum class State { Data, Iac, Option, SbOption, SbData, SbIac };
    // RFC 1143's states, without the queue: what we asked for is all we ever ask.
    enum class Q : std::uint8_t { No, Yes, WantYes };

    void command(unsigned char c, std::string& data);
    void negotiate(unsigned char verb, unsigned char option, std::string& replies);
    void subnegotiationByte(unsigned char c);
    void subnegotiation();
    std::string settings() const;

    State state_ = State::Data;
    unsigned char verb_ = 0;
    unsigned char sbOption_ = 0;
    std::string sb_;
    int negotiations_ = 0;
    std::array<Q, 256> us_{};   // options on our side (WILL / WONT)
    std::array<Q, 256> him_{};  // options on the server's side (DO / DONT)
    LineOptions options_;
};

}  // namespace kestrova::telnet
