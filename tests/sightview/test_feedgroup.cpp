#include "sightview/feedgroup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace sightview;

namespace {

// A name server that fails the first look-up of each name and answers every later one.
std::vector<std::string> lookups;

bool flakyLookup(const std::string& host, ACE_INET_Addr& group)
{
    lookups.push_back(host);
    int seen = 0;
    for (const std::string& h : lookups)
        seen += h == host;
    return seen > 1 && lookUpFeedGroup(host, group);
}

TEST(FeedGroup, FailedLookupIsTriedAgainNextCycleAndAResolvedOneIsKept)
{
    lookups.clear();
    FeedGroup group(&flakyLookup);
    EXPECT_FALSE(group.resolve("239.255.42.1"));  // cycle 1: no answer
    EXPECT_TRUE(group.resolve("239.255.42.1"));   // cycle 2: asked again
    EXPECT_EQ(group.address().get_port_number(), 2000);
    EXPECT_EQ(group.address().get_ip_address(), 0xEFFF2A01u);
    EXPECT_TRUE(group.resolve("239.255.42.1"));  // kept: no third look-up
    EXPECT_EQ(lookups.size(), 2u);

    // Another text is looked up anew, with the same retry.
    EXPECT_FALSE(group.resolve("239.255.42.2"));
    EXPECT_TRUE(group.resolve("239.255.42.2"));
    EXPECT_EQ(group.address().get_ip_address(), 0xEFFF2A02u);
    EXPECT_EQ(lookups.size(), 4u);

    FeedGroup real;
    EXPECT_FALSE(real.resolve(""));
    EXPECT_FALSE(real.resolve("not a group"));
    EXPECT_TRUE(real.resolve("239.255.0.7"));
}

}  // namespace
