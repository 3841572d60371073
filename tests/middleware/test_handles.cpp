// Handles, identities, options and init references: no network.

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

TEST(Configuration, TakesItsOptionsOutOfTheVector)
{
    char a0[] = "-ORBdefaultInitRef", a1[] = "dds:3", a2[] = "-keep", a3[] = "-executionName", a4[] = "E1",
         a5[] = "-sessionName", a6[] = "", a7[] = "last";
    char* argv[] = {a0, a1, a2, a3, a4, a5, a6, a7, nullptr};
    int argc = 8;
    const Configuration c(argc, argv, "app", "");
    EXPECT_EQ("dds:3", c.initReference());
    EXPECT_EQ("E1", c.executionName());
    EXPECT_EQ("", c.sessionName());
    ASSERT_EQ(2, argc);
    EXPECT_STREQ("-keep", argv[0]);
    EXPECT_STREQ("last", argv[1]);
    EXPECT_EQ(nullptr, argv[2]);
}

TEST(Configuration, ConstVectorIsReadAsItStands)
{
    const char* argv[] = {"-ORBdefaultInitRef", "", "-executionName", "X", "-sessionName", "S", nullptr};
    int argc = 6;
    const Configuration c(argc, argv, "", "");
    EXPECT_EQ("X", c.executionName());
    EXPECT_EQ("S", c.sessionName());
    EXPECT_EQ(6, argc);
    EXPECT_EQ(3000, c.joinTimeoutMilliseconds());
}

TEST(Configuration, RejectsOptionsWithoutValuesAndBadTimeouts)
{
    const struct {
        std::vector<const char*> args;
    } rows[] = {{{"-executionName"}}, {{"-a", "-sessionName"}}, {{"-joinTimeout", "soon"}},
                {{"-joinTimeout", "-5"}}, {{"-joinTimeout", "12x"}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args.back());
        int argc = static_cast<int>(row.args.size());
        EXPECT_THROW(Configuration(argc, row.args.data(), "", ""), Exception);
    }
}

TEST(InitReference, ParsesDomainsAndPeers)
{
    const struct {
        const char* text;
        std::uint32_t domain;
        std::vector<std::string> peers;
    } rows[] = {
        {"", 0, {}},
        {"dds:0", 0, {}},
        {"dds:230", 230, {}},
        {"dds:7@127.0.0.1", 7, {"127.0.0.1"}},
        {"dds:3@range-a.local:7400,10.0.0.6", 3, {"range-a.local:7400", "10.0.0.6"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const InitReference ref = InitReference::parse(row.text);
        EXPECT_EQ(row.domain, ref.domain);
        EXPECT_EQ(row.peers, ref.peers);
    }
}

TEST(InitReference, RejectsMalformedText)
{
    for (const char* text : {"0", "dds:", "dds:231", "dds:-1", "dds:1@", "dds:1@a,,b", "dds:1@host:0",
                             "dds:1@host:70000", "dds:1@bad host", "corbaloc:iiop:host:2809/NameService",
                             "dds:1@<Peer/>"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(InitReference::parse(text), Exception);
    }
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
