#include "net/Endpoint.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <utility>

namespace kestrova {

namespace {

constexpr std::string_view kSeparator = "://";
constexpr std::array<std::pair<std::string_view, Scheme>, 3> kSchemes{
    {{"tcp", Scheme::Tcp}, {"rfc2217", Scheme::Rfc2217}, {"kestrova", Scheme::Kestrova}}};

bool alnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool nameChar(char c) {
    return alnum(c) || c == '-' || c == '.' || c == '_';
}

bool ipv6Char(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':' ||
           c == '.';
}

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return out;
}

// A bracketed IPv6 address, an optional zone after "%".
std::string checkIpv6(std::string_view host) {
    const std::size_t zone = host.find('%');
    const std::string_view address = host.substr(0, zone);
    const bool zoneOk =
        zone == std::string_view::npos ||
        (zone + 1 < host.size() &&
         std::all_of(host.begin() + static_cast<std::ptrdiff_t>(zone) + 1, host.end(), nameChar));
    if (address.find(':') == std::string_view::npos ||
        !std::all_of(address.begin(), address.end(), ipv6Char) || !zoneOk) {
        return "[" + std::string(host) + "] is no IPv6 address";
    }
    return {};
}

std::string parsePort(std::string_view text, std::uint16_t& port) {
    if (text.empty()) {
        return "no port after the host";
    }
    unsigned long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (end != text.data() + text.size() || ec == std::errc::invalid_argument) {
        return "port '" + std::string(text) + "' is no number";
    }
    if (ec == std::errc::result_out_of_range || value == 0 || value > 65535) {
        return "port " + std::string(text) + " is out of range (1 to 65535)";
    }
    port = static_cast<std::uint16_t>(value);
    return {};
}

// "HOST:PORT" or "[IPV6]:PORT" into e; what is wrong, "" when nothing.
std::string parseHostPort(std::string_view text, Endpoint& e) {
    std::string_view rest;
    if (text.starts_with('[')) {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos) {
            return "no ']' after the IPv6 address";
        }
        e.host = std::string(text.substr(1, close - 1));
        if (auto wrong = checkIpv6(e.host); !wrong.empty()) {
            return wrong;
        }
        rest = text.substr(close + 1);
        if (!rest.starts_with(':')) {
            return rest.empty() ? "no port (HOST:PORT)" : "text after the address";
        }
    } else {
        const std::size_t colon = text.find(':');
        if (colon == std::string_view::npos) {
            return "no port (HOST:PORT)";
        }
        if (text.find(':', colon + 1) != std::string_view::npos) {
            return "an IPv6 address goes in brackets, as [::1]:4001";
        }
        e.host = std::string(text.substr(0, colon));
        if (e.host.empty()) {
            return "no host before the port";
        }
        if (!std::all_of(e.host.begin(), e.host.end(), nameChar)) {
            return "'" + e.host + "' is no host name or address";
        }
        rest = text.substr(colon);
    }
    return parsePort(rest.substr(1), e.port);
}

bool hasBlank(std::string_view s) {
    return std::any_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 127; });
}

ParsedEndpoint result(Endpoint e, std::string error) {
    if (!error.empty()) {
        return {std::nullopt, std::move(error)};
    }
    return {std::move(e), {}};
}

}  // namespace

bool IsNetworkName(std::string_view name) {
    return name.find(kSeparator) != std::string_view::npos;
}

ParsedEndpoint ParseEndpoint(std::string_view name) {
    const std::size_t sep = name.find(kSeparator);
    if (sep == std::string_view::npos) {
        return {std::nullopt, "no scheme (tcp://, rfc2217:// or kestrova://)"};
    }
    if (hasBlank(name)) {
        return {std::nullopt, "a blank or control character in the address"};
    }
    Endpoint e;
    const std::string scheme = lower(name.substr(0, sep));
    const auto* known = std::find_if(kSchemes.begin(), kSchemes.end(),
                                     [&](const auto& s) { return s.first == scheme; });
    if (known == kSchemes.end()) {
        return {std::nullopt,
                "unknown scheme '" + scheme + "' (tcp://, rfc2217:// or kestrova://)"};
    }
    e.scheme = known->second;
    return result(e, parseHostPort(name.substr(sep + kSeparator.size()), e));
}

ParsedEndpoint ParseShareAddress(std::string_view text) {
    if (hasBlank(text)) {
        return {std::nullopt, "a blank or control character in the address"};
    }
    Endpoint e;
    e.scheme = Scheme::Kestrova;
    if (text.find_first_not_of("0123456789") == std::string_view::npos) {
        e.host = "127.0.0.1";
        return result(e, parsePort(text, e.port));
    }
    return result(e, parseHostPort(text, e));
}

std::string HostPort(const Endpoint& e) {
    const bool ipv6 = e.host.find(':') != std::string::npos;
    return (ipv6 ? "[" + e.host + "]" : e.host) + ":" + std::to_string(e.port);
}

}  // namespace kestrova
