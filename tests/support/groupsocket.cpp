#include "support/groupsocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vkrsim::test {

GroupSocket::GroupSocket(const std::string& group, unsigned short port)
{
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ip_mreq membership{};
    ::inet_pton(AF_INET, group.c_str(), &membership.imr_multiaddr);
    joined_ = ::setsockopt(fd_, IPPROTO_IP, IP_ADD_MEMBERSHIP, &membership, sizeof membership) == 0;
}

GroupSocket::~GroupSocket()
{
    if (fd_ >= 0)
        ::close(fd_);
}

}  // namespace vkrsim::test
