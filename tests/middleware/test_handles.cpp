// Handles, identities and properties: no network.

#include "middleware/middleware.h"
#include "models/platform/platform.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>

using namespace ORVA::Middleware;

namespace {

struct Base {
    virtual ~Base() = default;
    int value = 1;
};
struct Derived : Base {
    explicit Derived(int* deleted) : deleted_(deleted) {}
    ~Derived() override { ++*deleted_; }
    int* deleted_;
};

}  // namespace

TEST(SmartPtr, EmptyHandleRaisesInvalidAccessWithItsText)
{
    SmartPtr<Base> empty;
    try {
        (void)empty->value;
        FAIL() << "no exception";
    } catch (const InvalidAccess& e) {
        EXPECT_STREQ("operator->() on null SmartPtr", e.what());
    }
    EXPECT_THROW((void)*empty, InvalidAccess);
    EXPECT_TRUE(empty.isNull());
}

TEST(SmartPtr, LastHandleDeletesAndUpcastSharesOwnership)
{
    int deleted = 0;
    {
        SmartPtr<Derived> derived(new Derived(&deleted));
        SmartPtr<Base> base = derived;
        EXPECT_EQ(base, derived);
        EXPECT_EQ(2, base.useCount());
        derived.reset();
        EXPECT_EQ(0, deleted);
        EXPECT_EQ(1, base->value);
    }
    EXPECT_EQ(1, deleted);
}

TEST(ManagedPtr, EmptyHandleNamesTheTypeInItsText)
{
    ManagedPtr<ORVA::Platform::Proxy> empty;
    try {
        (void)empty->getSDOid();
        FAIL() << "no exception";
    } catch (const InvalidAccess& e) {
        EXPECT_EQ("attempt to dereference a null managed pointer to a ORVA::Platform::Proxy", std::string(e.what()));
    }
}

TEST(ManagedPtr, HandlesCompareByObject)
{
    auto object = std::make_shared<Base>();
    ManagedPtr<Base> a(object), b(object), c(std::make_shared<Base>());
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == c);
    EXPECT_TRUE(a != c);
}

TEST(SDOid, TextFormIgnoresAndKeepsNumberFlags)
{
    std::ostringstream out;
    out << std::hex << std::showbase << SDOid(0x9f0c2a1b44d3e870ull, 12) << ' ' << 255;
    EXPECT_EQ("SDO:9f0c2a1b44d3e870:12 0xff", out.str());
    std::ostringstream padded;
    padded << std::setfill('*') << std::setw(24) << SDOid(2, 5) << '|';
    EXPECT_EQ("**SDO:0000000000000002:5|", padded.str());
    std::ostringstream zero;
    zero << SDOid(1, 0);
    EXPECT_EQ("SDO:0000000000000001:0", zero.str());
}

TEST(CommunicationProperties, KnowsOnlyReliableAndBestEffort)
{
    EXPECT_TRUE(CommunicationProperties(1).reliable());
    EXPECT_FALSE(CommunicationProperties(0).reliable());
    EXPECT_THROW(CommunicationProperties(2), Exception);
    EXPECT_EQ(7, ConcurrencyProperties(7).value());
}

TEST(SubscriptionInfo, NullFactoriesGiveNoCallback)
{
    using namespace ORVA::Platform;
    using Null = Callback::NullCallbackFactory<ProxyHandle, Callback::DiscoveryTag>;
    SubscriptionInfo info(SmartPtr<DiscoveryCallbackFactory>(new Null()), nullptr, nullptr);
    auto proxy = ServantTraits::binding().makeProxy(SDOid(1, 1), ServantTraits::binding().initialState(SDOid(1, 1)));
    EXPECT_EQ(nullptr, info.createCallback(SDO::EventKind::Discovery, proxy));
    EXPECT_EQ(nullptr, info.createCallback(SDO::EventKind::StateChange, proxy));
    EXPECT_TRUE(info.getDiscoveryCallbackFactory()->isNull());
}
