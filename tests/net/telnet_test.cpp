// The Telnet client with serial port control, fed what servers send, whole and split anywhere.
#include <gtest/gtest.h>

#include "net/Telnet.h"

namespace kestrova::testing {
namespace {

using namespace telnet;

std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (const int c : b) {
        s += static_cast<char>(c);
    }
    return s;
}

struct Fed {
    std::string data, replies, problem;
    std::vector<std::string> notices;
};

// A client that has greeted, fed `in` in pieces of `piece` bytes (0: at once).
Fed feed(Client& c, std::string_view in, std::size_t piece = 0) {
    Fed f;
    for (std::size_t at = 0; at < in.size(); at += piece == 0 ? in.size() : piece) {
        c.receive(in.substr(at, piece == 0 ? in.size() : piece), f.data, f.replies);
    }
    f.problem = c.problem();
    f.notices = c.takeNotices();
    return f;
}

Fed fresh(std::string_view in, std::size_t piece = 0, LineOptions options = {}) {
    Client c;
    (void)c.lineOptions(options);
    EXPECT_EQ(c.greeting(), bytes({kIac, kWill, 0, kIac, kDo, 0, kIac, kWill, 44}));
    return feed(c, in, piece);
}

// The settings sent once the server agrees to serial port control, as a serial server reads
// them: 19200 baud, 8 bits, no parity, 1 stop bit, then flow control, DTR and RTS.
const std::string kSettings = bytes(
    {255, 250, 44,  1,   0,   0,   0x4B, 0,   255, 240, 255, 250, 44,  2,   8,   255, 240, 255,
     250, 44,  3,   1,   255, 240, 255,  250, 44,  4,   1,   255, 240, 255, 250, 44,  5,   1,
     255, 240, 255, 250, 44,  5,   9,    255, 240, 255, 250, 44,  5,   12,  255, 240});

// What a serial server opens with, then a modem-state notice, its answer to the baud rate and
// the processor's first packet.
const std::string kServerOpening =
    bytes({255, 251, 3,   255, 253, 3,   255, 251, 1,    255, 254, 1,   255,
           253, 0,   255, 251, 0,   255, 253, 44,  255,  250, 44,  107, 0,
           255, 240, 255, 250, 44,  101, 0,   0,   0x4B, 0,   255, 240}) +
    "B20482048S5012P\r\n";

TEST(Telnet, AnswersAServersOpeningTheSameWhereverReadsSplitIt) {
    for (std::size_t piece = 0; piece <= 7; ++piece) {
        const Fed f = fresh(kServerOpening, piece);
        // Go-ahead suppressed both ways, echo refused; binary and the serial port control were
        // ours to ask and are taken without a word, and the settings follow.
        EXPECT_EQ(f.replies, bytes({255, 253, 3, 255, 251, 3, 255, 254, 1}) + kSettings) << piece;
        EXPECT_EQ(f.data, "B20482048S5012P\r\n") << piece;
        EXPECT_EQ(f.problem, "");
        EXPECT_TRUE(f.notices.empty());
    }
    Fed control = fresh(bytes({255, 253, 44}), 0, {true, true, true});
    EXPECT_EQ(control.replies.substr(31),  // after baud rate, data bits, parity and stop bits
              bytes({255, 250, 44, 5, 3, 255, 240, 255, 250, 44, 5, 8, 255, 240}))
        << "hardware flow control with DTR on; RTS is the flow control's";
}

TEST(Telnet, EveryByteGoesBothWaysWhateverTheSplit) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string sent = all + "\xff\xff" + all;
    const std::string wire = Escape(sent);
    EXPECT_EQ(wire.size(), sent.size() + 4);
    for (std::size_t piece = 1; piece <= 9; ++piece) {
        const Fed f = fresh(wire, piece);
        EXPECT_EQ(f.data, sent) << piece;
        EXPECT_EQ(f.replies, "");
    }
    Client c;
    EXPECT_EQ(c.encode(bytes({0, 255, 13, 10})), bytes({0, 255, 255, 13, 10}));
}

TEST(Telnet, SaysWhatTheServerSetOrRefused) {
    const std::pair<std::string, const char*> cases[] = {
        {bytes({255, 250, 44, 101, 0, 0, 0x25, 0x80, 255, 240}),
         "the server set 9600 baud, not 19200"},
        {bytes({255, 250, 44, 101, 0, 0, 255, 255, 255, 255, 255, 240}),
         "the server set 65535 baud, not 19200"},
        {bytes({255, 250, 44, 101, 1, 0, 0x4B, 0, 255, 240}),  // 19200 in the low bytes only
         "the server set 16796416 baud, not 19200"},
        {bytes({255, 250, 44, 102, 7, 255, 240}), "the server set 7 data bits, not 8"},
        {bytes({255, 250, 44, 103, 3, 255, 240}), "the server set parity even, not none"},
        {bytes({255, 250, 44, 104, 3, 255, 240}), "the server set 1.5 stop bits, not 1"},
        {bytes({255, 254, 44}),
         "the server refuses serial port control; the line runs at its own settings"},
        {bytes({255, 252, 0}), "the server refuses binary mode"},
    };
    for (const auto& [in, notice] : cases) {
        const Fed f = fresh(in);
        ASSERT_EQ(f.notices.size(), 1u) << notice;
        EXPECT_EQ(f.notices[0], notice);
        EXPECT_EQ(f.problem, "");
    }
    // What was asked for, given: nothing to say; options changed later go out at once.
    Client c;
    (void)c.greeting();
    EXPECT_EQ(c.lineOptions({}), "") << "nothing before the server agrees";
    const Fed f = feed(c, bytes({255, 253, 44,  255, 250, 44, 101, 0,   0,   0x4B, 0, 255,
                                 240, 255, 250, 44,  104, 1,  255, 240, 255, 253,  44}));
    EXPECT_TRUE(f.notices.empty());
    EXPECT_EQ(f.replies, kSettings) << "agreed once, answered once";
    EXPECT_EQ(c.lineOptions({false, true, false}),
              bytes({255, 250, 44,  5,   1,   255, 240, 255, 250, 44, 5,
                     9,   255, 240, 255, 250, 44,  5,   11,  255, 240}));
}

TEST(Telnet, ABadServerIsDeclaredBadWithBoundedAnswers) {
    std::string endless;
    for (int i = 0; i <= Client::kMaxNegotiations; ++i) {
        endless += bytes({255, 253, 99});
    }
    const std::pair<std::string, const char*> cases[] = {
        {bytes({'a', 255, 'A', 'b'}), "Telnet garbage from the server (IAC 65)"},
        {bytes({255, 250, 44, 1, 2, 255, 1, 255, 240}),
         "damaged subnegotiation from the server (IAC 1)"},
        {bytes({255, 250, 44}) + std::string(Client::kMaxSubnegotiation + 1, 'x'),
         "subnegotiation from the server longer than 256 bytes"},
        {endless + "data", "endless option negotiation from the server"},
    };
    for (const auto& [in, problem] : cases) {
        for (std::size_t piece : {std::size_t{0}, std::size_t{1}}) {
            const Fed f = fresh(in, piece);
            EXPECT_EQ(f.problem, problem);
            EXPECT_LE(f.data.size(), 1u) << "nothing after the fault is data";
            EXPECT_LE(f.replies.size(), 3u * Client::kMaxNegotiations);
        }
    }
    // Refusals are answered every time, acknowledgements never twice.
    EXPECT_EQ(
        fresh(bytes({255, 253, 99, 255, 251, 99, 255, 253, 0, 255, 253, 0, 255, 252, 0})).replies,
        bytes({255, 252, 99, 255, 254, 99}));
}

}  // namespace
}  // namespace kestrova::testing
