// A watcher's reader of a share: whatever arrives and however reads split it, the same data
// and verdict, in bounded memory; and what an owner sends reads back as it was sent.
//
// Input: byte 0 (low 4 bits + 1) is the size of the pieces reads deliver, the rest is both
// what arrives after a greeting and the chunks an owner sends (split at each LF).

#include "fuzz/FuzzSupport.h"
#include "net/Share.h"

namespace {

using namespace kestrova;

struct Out {
    std::string data, problem;
};

Out feed(std::string_view in, std::size_t piece) {
    share::Reader r;
    Out o;
    std::string replies;
    for (std::size_t at = 0; at < in.size(); at += piece) {
        r.receive(in.substr(at, piece), o.data, replies);
    }
    FUZZ_CHECK(replies.empty());
    o.problem = r.problem();
    return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t piece = (data[0] & 0x0F) + 1;
    const std::string_view in = fuzz::bytes(data + 1, size - 1);

    const std::string arrived = share::Greeting("") + std::string(in);
    const Out whole = feed(arrived, arrived.size());
    const Out split = feed(arrived, piece);
    FUZZ_CHECK(whole.data == split.data && whole.problem == split.problem);
    FUZZ_CHECK(whole.data.size() <= in.size());

    std::string sent = share::Greeting("fuzz");
    std::int64_t ms = 0;
    for (std::size_t at = 0; at < in.size();) {
        const std::size_t lf = std::min(in.find('\n', at), in.size() - 1);
        sent += share::Chunk(ms, in.substr(at, lf + 1 - at)) + share::Heartbeat(ms + 1);
        ms += static_cast<std::int64_t>(lf - at) + 2;
        at = lf + 1;
    }
    const Out round = feed(sent, piece);
    FUZZ_CHECK(round.data == in && round.problem.empty());
    return 0;
}
