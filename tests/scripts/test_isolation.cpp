#include "support/childprocess.h"
#include "support/isolation.h"

#include <ace/INET_Addr.h>
#include <ace/SOCK_Dgram.h>
#include <ace/SOCK_Dgram_Mcast.h>
#include <ace/Time_Value.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string runCaptured(const std::string& command)
{
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[512];
        while (std::fgets(buf, sizeof buf, p))
            out += buf;
        pclose(p);
    }
    return out;
}

// The suite itself runs inside scripts/isolated; a datagram to a group there goes round
// loopback and nowhere else.
TEST(PrivateNetwork, MulticastDatagramReachesAReceiverOnLoopback)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const u_short port = 2000 + static_cast<u_short>(getpid() % 1000) + 1000;
    ACE_SOCK_Dgram_Mcast receiver(ACE_SOCK_Dgram_Mcast::options(ACE_SOCK_Dgram_Mcast::OPT_BINDADDR_NO |
                                                                ACE_SOCK_Dgram_Mcast::OPT_NULLIFACE_ALL));
    ACE_INET_Addr group(port, "239.255.42.99", PF_INET);
    ASSERT_EQ(receiver.join(group, 1, nullptr), 0) << "join failed: " << std::strerror(errno);

    ACE_SOCK_Dgram sender{ACE_INET_Addr(static_cast<u_short>(0), "127.0.0.1")};
    const char payload[] = "sight picture";
    ASSERT_EQ(sender.send(payload, sizeof payload, group), static_cast<ssize_t>(sizeof payload));

    char buf[64] = {};
    ACE_INET_Addr from;
    const ACE_Time_Value timeout(2);
    const ssize_t n = receiver.recv(buf, sizeof buf, from, 0, &timeout);
    ASSERT_EQ(n, static_cast<ssize_t>(sizeof payload));
    EXPECT_STREQ(buf, payload);
    receiver.close();
    sender.close();
}

// scripts/isolated builds the namespace anew (not the nested shortcut): loopback only, up,
// multicast on, and the multicast range routed to it.
TEST(PrivateNetwork, IsolatedScriptGivesLoopbackOnlyWithMulticastRoute)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string script = std::string(VKRSIM_SOURCE_DIR) + "/scripts/isolated";
    const std::string out = runCaptured("env -u VKRSIM_ISOLATED " + script +
                                        " sh -c 'ip -o link show; ip route get 239.1.2.3; echo isolated=$VKRSIM_ISOLATED'");
    EXPECT_NE(out.find("lo: <"), std::string::npos) << out;
    EXPECT_NE(out.find("MULTICAST"), std::string::npos) << out;
    EXPECT_NE(out.find("UP"), std::string::npos) << out;
    EXPECT_NE(out.find("239.1.2.3 dev lo"), std::string::npos) << out;
    EXPECT_NE(out.find("isolated=1"), std::string::npos) << out;
    // Exactly one interface line.
    int lines = 0;
    for (std::size_t at = 0; (at = out.find(": <", at)) != std::string::npos; ++at)
        ++lines;
    EXPECT_EQ(lines, 1) << out;
}

TEST(PrivateNetwork, IsolatedScriptPassesTheExitStatusThrough)
{
    const std::string script = std::string(VKRSIM_SOURCE_DIR) + "/scripts/isolated";
    EXPECT_EQ(WEXITSTATUS(std::system((script + " sh -c 'exit 7'").c_str())), 7);
    EXPECT_EQ(WEXITSTATUS(std::system((script + " >/dev/null 2>&1").c_str())), 2);
}

}  // namespace
