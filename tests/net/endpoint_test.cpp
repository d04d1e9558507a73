// Network addresses as an operator types them, where a device is named and for --share.
#include <gtest/gtest.h>

#include "net/Endpoint.h"

namespace kestrova::testing {
namespace {

// "scheme HOST:PORT host", or the error.
std::string described(const ParsedEndpoint& p) {
    if (!p.endpoint) {
        return p.error;
    }
    constexpr const char* kNames[] = {"tcp", "rfc2217", "kestrova"};
    const Endpoint& e = *p.endpoint;
    return std::string(kNames[static_cast<int>(e.scheme)]) + " " + HostPort(e) + " " + e.host;
}

TEST(Endpoint, ParsesAddressesAndSaysWhatIsWrong) {
    const std::pair<const char*, const char*> cases[] = {
        {"tcp://mast:4001", "tcp mast:4001 mast"},
        {"RFC2217://10.0.0.5:2217", "rfc2217 10.0.0.5:2217 10.0.0.5"},
        {"kestrova://[::1]:7017", "kestrova [::1]:7017 ::1"},
        {"tcp://[fe80::1%eth0]:1", "tcp [fe80::1%eth0]:1 fe80::1%eth0"},
        {"tcp://[fe80::1%2]:1", "tcp [fe80::1%2]:1 fe80::1%2"},
        {"tcp://ZA-09.az_rack:65535", "tcp ZA-09.az_rack:65535 ZA-09.az_rack"},
        {"tcp://[09af:AF::]:1", "tcp [09af:AF::]:1 09af:AF::"},
        {"tcp://[::g]:1", "[::g] is no IPv6 address"},
        {"tcp://a@b:1", "'a@b' is no host name or address"},
        {"tcp://mast", "no port (HOST:PORT)"},
        {"tcp://mast:", "no port after the host"},
        {"tcp://mast:0", "port 0 is out of range (1 to 65535)"},
        {"tcp://mast:65536", "port 65536 is out of range (1 to 65535)"},
        {"tcp://mast:99999999999999999999",
         "port 99999999999999999999 is out of range (1 to "
         "65535)"},
        {"tcp://mast:40a1", "port '40a1' is no number"},
        {"tcp://mast:-1", "port '-1' is no number"},
        {"tcp://mast:4001/", "port '4001/' is no number"},
        {"udp://mast:1", "unknown scheme 'udp' (tcp://, rfc2217:// or kestrova://)"},
        {"://mast:1", "unknown scheme '' (tcp://, rfc2217:// or kestrova://)"},
        {"tcp://mast :4001", "a blank or control character in the address"},
        {"tcp://ma\tst:4001", "a blank or control character in the address"},
        {"tcp://:4001", "no host before the port"},
        {"tcp://ma/st:4001", "'ma/st' is no host name or address"},
        {"tcp://::1:4001", "an IPv6 address goes in brackets, as [::1]:4001"},
        {"tcp://[::1:4001", "no ']' after the IPv6 address"},
        {"tcp://[mast]:4001", "[mast] is no IPv6 address"},
        {"tcp://[::1%]:4001", "[::1%] is no IPv6 address"},
        {"tcp://[::1%@x]:4001", "[::1%@x] is no IPv6 address"},
        {"tcp://[::1]4001", "text after the address"},
        {"tcp://[::1]", "no port (HOST:PORT)"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(described(ParseEndpoint(text)), expected) << text;
        EXPECT_TRUE(IsNetworkName(text)) << text;
    }
    for (const char* device : {"/dev/ttyUSB0", "/tmp/a b", "COM3", "mast:4001"}) {
        EXPECT_FALSE(IsNetworkName(device)) << device;
    }
}

TEST(Endpoint, ShareListensOnLoopbackUnlessAnAddressIsGiven) {
    const std::pair<const char*, const char*> cases[] = {
        {"7017", "kestrova 127.0.0.1:7017 127.0.0.1"},
        {"0.0.0.0:7017", "kestrova 0.0.0.0:7017 0.0.0.0"},
        {"[::]:7017", "kestrova [::]:7017 ::"},
        {"70000", "port 70000 is out of range (1 to 65535)"},
        {"0", "port 0 is out of range (1 to 65535)"},
        {"lan:x", "port 'x' is no number"},
        {"7017 ", "a blank or control character in the address"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(described(ParseShareAddress(text)), expected) << text;
    }
}

}  // namespace
}  // namespace kestrova::testing
