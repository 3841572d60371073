#pragma once
// A UDP socket bound to `port` on any address and joined to the multicast `group`: how tests,
// benchmarks and soak programs watch the pictures a sender puts on the sight's group.

#include <string>

namespace vkrsim::test {

class GroupSocket {
public:
    GroupSocket(const std::string& group, unsigned short port);
    ~GroupSocket();
    GroupSocket(const GroupSocket&) = delete;
    GroupSocket& operator=(const GroupSocket&) = delete;

    int fd() const { return fd_; }
    bool joined() const { return joined_; }

private:
    int fd_ = -1;
    bool joined_ = false;
};

}  // namespace vkrsim::test
