#include "link/net_port_name.h"

#include <algorithm>
#include <cctype>

namespace vk {

namespace {

struct Scheme {
    const char* prefix;
    NetProtocol protocol;
};
constexpr Scheme kSchemes[] = {{"tcp://", NetProtocol::RawTcp},
                               {"rfc2217://", NetProtocol::Rfc2217}};

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size())
        return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

const Scheme* SchemeOf(const std::string& name) {
    for (const Scheme& s : kSchemes) {
        if (StartsWithNoCase(name, s.prefix))
            return &s;
    }
    return nullptr;
}

std::optional<NetPortName> Refuse(std::string* problem, const std::string& why) {
    if (problem)
        *problem = why;
    return std::nullopt;
}

// A host name or an IPv4 address: letters, digits, '-', '.' and '_' (which some local
// networks use), nothing that a resolver would take as a separator or a wildcard.
bool PlainHostText(const std::string& host) {
    return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
    });
}

// Hex groups, colons, an IPv4 tail and a zone ("fe80::1%eth0").
bool Ipv6Text(const std::string& host) {
    return host.find(':') != std::string::npos && std::all_of(host.begin(), host.end(), [](char c) {
               return std::isalnum(static_cast<unsigned char>(c)) || c == ':' || c == '.' ||
                      c == '%';
           });
}

} // namespace

bool IsNetworkPortName(const std::string& name) {
    return SchemeOf(name) != nullptr;
}

std::optional<NetPortName> ParseNetworkPortName(const std::string& name, std::string* problem) {
    const Scheme* scheme = SchemeOf(name);
    if (!scheme)
        return Refuse(problem, "not tcp://HOST:PORT or rfc2217://HOST:PORT");
    const std::string rest = name.substr(std::char_traits<char>::length(scheme->prefix));
    NetPortName out;
    out.protocol = scheme->protocol;

    std::string portText;
    if (!rest.empty() && rest[0] == '[') {
        const std::size_t close = rest.find(']');
        if (close == std::string::npos)
            return Refuse(problem, "an IPv6 address needs its closing ']'");
        out.host = rest.substr(1, close - 1);
        if (!Ipv6Text(out.host))
            return Refuse(problem, "'" + out.host + "' is not an IPv6 address");
        if (close + 1 >= rest.size() || rest[close + 1] != ':')
            return Refuse(problem, "no port number");
        portText = rest.substr(close + 2);
    } else {
        const std::size_t colon = rest.rfind(':');
        if (colon == std::string::npos)
            return Refuse(problem, "no port number");
        out.host = rest.substr(0, colon);
        portText = rest.substr(colon + 1);
        if (out.host.find(':') != std::string::npos)
            return Refuse(problem, "an IPv6 address goes in brackets: [" + out.host + "]");
        if (out.host.empty())
            return Refuse(problem, "no host");
        if (!PlainHostText(out.host))
            return Refuse(problem, "'" + out.host + "' is not a host name or address");
    }
    if (portText.empty())
        return Refuse(problem, "no port number");
    if (portText.size() > 5 ||
        !std::all_of(portText.begin(), portText.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return Refuse(problem, "'" + portText + "' is not a port number");
    const long port = std::stol(portText);
    if (port < 1 || port > 65535)
        return Refuse(problem, "port " + portText + " is not between 1 and 65535");
    out.port = static_cast<std::uint16_t>(port);
    return out;
}

bool PortSetsLineSpeed(const std::string& name) {
    const Scheme* scheme = SchemeOf(name);
    return !scheme || scheme->protocol != NetProtocol::RawTcp;
}

std::string NetworkPortText(const NetPortName& name) {
    std::string host = name.host.find(':') != std::string::npos ? "[" + name.host + "]" : name.host;
    return std::string(name.protocol == NetProtocol::Rfc2217 ? "rfc2217://" : "tcp://") + host +
           ":" + std::to_string(name.port);
}

} // namespace vk
