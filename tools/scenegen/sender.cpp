#include "tools/scenegen/sender.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace scenegen {

DatagramSender::DatagramSender(const std::string& host, unsigned short port)
{
    static_assert(sizeof(address_) >= sizeof(sockaddr_in), "room for an IPv4 address");
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    const int rc = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (rc != 0 || !found)
        throw std::runtime_error("cannot resolve \"" + host + "\": " + ::gai_strerror(rc));
    sockaddr_in a{};
    std::memcpy(&a, found->ai_addr, sizeof a);
    ::freeaddrinfo(found);
    a.sin_port = htons(port);
    std::memcpy(address_, &a, sizeof a);
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &a.sin_addr, text, sizeof text);
    endPoint_ = std::string(text) + ":" + std::to_string(port);

    socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (socket_ < 0)
        throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
    const unsigned char ttl = 1;
    const unsigned char loop = 1;  // a sight on this machine must see the pictures too
    ::setsockopt(socket_, IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl);
    ::setsockopt(socket_, IPPROTO_IP, IP_MULTICAST_LOOP, &loop, sizeof loop);
}

DatagramSender::~DatagramSender()
{
    if (socket_ >= 0)
        ::close(socket_);
}

bool DatagramSender::send(const std::uint8_t* data, std::size_t size)
{
    const ssize_t sent = ::sendto(socket_, data, size, 0, reinterpret_cast<const sockaddr*>(address_), sizeof(sockaddr_in));
    if (sent == static_cast<ssize_t>(size))
        return true;
    error_ = sent < 0 ? std::string(std::strerror(errno)) : "short send";
    return false;
}

}  // namespace scenegen
