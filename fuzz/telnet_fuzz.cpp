// The Telnet client: whatever a server sends and however reads split it, the same data,
// replies and verdict come out, in bounded memory; and the processor's bytes, escaped as the
// client sends them, decode to themselves.
//
// Input: byte 0 (low 4 bits + 1) is the size of the pieces reads deliver, the rest is what
// the server sends, and also a block of data to go round.

#include "fuzz/FuzzSupport.h"
#include "net/Telnet.h"

namespace {

using namespace kestrova;

struct Out {
    std::string data, replies, problem;
};

Out feed(std::string_view in, std::size_t piece) {
    telnet::Client c;
    (void)c.greeting();
    Out o;
    for (std::size_t at = 0; at < in.size(); at += piece) {
        c.receive(in.substr(at, piece), o.data, o.replies);
        (void)c.takeNotices();
    }
    o.problem = c.problem();
    return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t piece = (data[0] & 0x0F) + 1;
    const std::string_view in = fuzz::bytes(data + 1, size - 1);

    const Out whole = feed(in, in.size() + 1);
    const Out split = feed(in, piece);
    FUZZ_CHECK(whole.data == split.data && whole.replies == split.replies &&
               whole.problem == split.problem);
    FUZZ_CHECK(whole.data.size() <= in.size());
    // Each negotiation draws one answer at most, with the settings when control is agreed.
    FUZZ_CHECK(whole.replies.size() <= telnet::Client::kMaxNegotiations * 64);

    const Out round = feed(telnet::Escape(in), piece);
    FUZZ_CHECK(round.data == in && round.replies.empty() && round.problem.empty());
    return 0;
}
