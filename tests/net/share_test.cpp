// A watcher reading a share: the records' bytes as the owner read them, whatever the split.
#include <gtest/gtest.h>

#include "net/Share.h"

namespace kestrova::testing {
namespace {

struct Read {
    std::string data, problem;
};

Read read(std::string_view in, std::size_t piece) {
    share::Reader r;
    Read out;
    std::string replies;
    for (std::size_t at = 0; at < in.size(); at += piece) {
        r.receive(in.substr(at, piece), out.data, replies);
    }
    EXPECT_EQ(replies, "");
    EXPECT_EQ(r.encode("\0\r\n"), "") << "a watcher never answers the processor";
    out.problem = r.problem();
    return out;
}

TEST(Share, WatcherGetsTheOwnersBytesAndNothingOfTheHeartbeats) {
    const std::string big(share::kMaxChunk * 2 + 5, 'B');
    const std::string sent = std::string("A,1\r\n\xff\0\n", 8) + big;
    const std::string stream = share::Greeting("share started 14:03:07") + share::Heartbeat(0) +
                               share::Chunk(5, sent.substr(0, 8)) + share::Heartbeat(1000) +
                               share::Chunk(1001, big);
    for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, stream.size()}) {
        const Read r = read(stream, piece);
        EXPECT_EQ(r.problem, "") << piece;
        EXPECT_TRUE(r.data == sent) << piece;
    }
    EXPECT_EQ(share::Chunk(5, ""), "") << "no bytes, no record";
    const std::string head = "1 99999\n";
    EXPECT_EQ(
        read(share::Greeting("") + head + std::string(share::kMaxChunk + 64 - head.size(), 'x'), 1)
            .problem,
        "")
        << "a record as long as may be, still coming";
    EXPECT_EQ(share::Chunk(5, big.substr(0, share::kMaxChunk)).size(),
              share::Chunk(5, big.substr(0, share::kMaxChunk - 1)).size() + 1);
}

TEST(Share, AnythingElseIsRefusedWithAReason) {
    const std::string hello = share::Greeting("");
    const std::pair<std::string, const char*> cases[] = {
        {"HTTP/1.1 200 OK\r\n", "not a Kestrova share"},
        {"KESTROVA-REC 2\n", "not a Kestrova share"},
        {"KESTROVA-REC 1 " + std::string(share::kMaxGreeting, 'x'), "not a Kestrova share"},
        {hello + "12 x\n", "damaged share: damaged record head"},
        {hello + "5 3\nabcX", "damaged share: damaged record (no line end after its bytes)"},
        {hello + "9 2\nok\n8 0\n\n", "damaged share: damaged record head"},
        {hello + "1 99999\n" + std::string(share::kMaxChunk + 64, 'x'),
         "damaged share: a record longer than 16448 bytes"},
    };
    for (const auto& [in, problem] : cases) {
        EXPECT_EQ(read(in, 1).problem, problem) << in.substr(0, 20);
        EXPECT_EQ(read(in, in.size()).problem, problem) << in.substr(0, 20);
    }
}

}  // namespace
}  // namespace kestrova::testing
