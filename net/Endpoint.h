#pragma once
// Network addresses where a device is named: "tcp://HOST:PORT" (raw bytes both ways),
// "rfc2217://HOST:PORT" (Telnet with serial port control) and "kestrova://HOST:PORT" (another
// Kestrova's share, watched), and the address a share listens on.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

enum class Scheme { Tcp, Rfc2217, Kestrova };

struct Endpoint {
    Scheme scheme = Scheme::Tcp;
    std::string host;  // a name, an IPv4 address, or an IPv6 address without its brackets
    std::uint16_t port = 0;
    friend bool operator==(const Endpoint&, const Endpoint&) = default;
};

struct ParsedEndpoint {
    std::optional<Endpoint> endpoint;
    std::string error;  // what is wrong, when there is no endpoint
};

// A name with a scheme ("...://") is a network address; any other names a device file.
bool IsNetworkName(std::string_view name);
ParsedEndpoint ParseEndpoint(std::string_view name);
// "[ADDR:]PORT"; the address is 127.0.0.1 when none is given.
ParsedEndpoint ParseShareAddress(std::string_view text);

// "HOST:PORT", an IPv6 address in brackets.
std::string HostPort(const Endpoint& e);

}  // namespace kestrova
