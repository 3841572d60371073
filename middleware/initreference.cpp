#include "middleware/initreference.h"

#include "middleware/exceptions.h"

#include <cctype>

namespace ORVA::Middleware {

namespace {

[[noreturn]] void malformed(const std::string& text, const std::string& why)
{
    throw Exception("init reference \"" + text + "\": " + why +
                    " (expected empty, dds:DOMAIN or dds:DOMAIN@PEER[,PEER...])");
}

bool validPeer(const std::string& peer)
{
    if (peer.empty())
        return false;
    const auto colon = peer.find(':');
    const std::string host = peer.substr(0, colon);
    if (host.empty())
        return false;
    for (const char c : host)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-')
            return false;
    if (colon == std::string::npos)
        return true;
    const std::string port = peer.substr(colon + 1);
    if (port.empty() || port.size() > 5)
        return false;
    for (const char c : port)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return std::stoul(port) >= 1 && std::stoul(port) <= 65535;
}

}  // namespace

InitReference InitReference::parse(const std::string& text)
{
    InitReference ref;
    if (text.empty())
        return ref;
    const std::string scheme = "dds:";
    if (text.compare(0, scheme.size(), scheme) != 0)
        malformed(text, "unknown scheme");
    const auto at = text.find('@', scheme.size());
    const std::string domain = text.substr(scheme.size(), at == std::string::npos ? std::string::npos
                                                                                   : at - scheme.size());
    if (domain.empty() || domain.size() > 3)
        malformed(text, "domain must be a number 0..230");
    for (const char c : domain)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            malformed(text, "domain must be a number 0..230");
    ref.domain = static_cast<std::uint32_t>(std::stoul(domain));
    if (ref.domain > 230)
        malformed(text, "domain must be a number 0..230");
    if (at == std::string::npos)
        return ref;
    std::string peers = text.substr(at + 1);
    std::size_t start = 0;
    while (true) {
        const auto comma = peers.find(',', start);
        const std::string peer = peers.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!validPeer(peer))
            malformed(text, "bad peer \"" + peer + "\"");
        ref.peers.push_back(peer);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return ref;
}

}  // namespace ORVA::Middleware
