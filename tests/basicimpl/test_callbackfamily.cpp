// The family's record, callbacks, factories and information classes, driven with proxies made
// in the test process: the discovered list, event lines and marks, failures, ownership.

#include "tests/basicimpl/localproxies.h"

#include <gtest/gtest.h>

#include <list>
#include <sstream>
#include <typeinfo>

namespace {

using basicimpltest::eventLines;
using basicimpltest::makeProxy;
using ORVA::Middleware::InvalidAccess;
using ORVA::Middleware::SDOid;
using ORVA::Middleware::SmartPtr;
namespace Platform = ORVA::Platform::BasicImpl;

using InfoHandle = SmartPtr<Platform::CallbackInfo>;

InfoHandle makeInfo(std::ostream& out, std::uint32_t verbosity)
{
    return InfoHandle(new Platform::CallbackInfo(out, verbosity));
}

ORVA::Platform::ProxyHandle platformProxy(std::uint64_t serial, std::uint32_t version)
{
    return makeProxy<ORVA::Platform::Proxy>(SDOid(0xabcdef, serial), version, ORVA::Platform::Attributes());
}

void discover(const ORVA::Platform::ProxyHandle& proxy, const InfoHandle& info)
{
    Platform::DiscoveryCallbackImpl(proxy, info).execute();
}

void destroy(const ORVA::Platform::ProxyHandle& proxy, const InfoHandle& info)
{
    Platform::DestructionCallbackImpl(proxy, info).execute();
}

std::list<ORVA::Platform::ProxyHandle> listed(const InfoHandle& info) { return info->getDiscoveredSDOlist(); }

const char* const discoveryHeader = "ORVA::Platform::BasicImpl DiscoveryCallbackImpl execute()";
const char* const destructionHeader = "ORVA::Platform::BasicImpl DestructionCallbackImpl execute()";

TEST(CallbackInfo, KeepsStreamAndVerbosityAndStartsEmpty)
{
    std::ostringstream out;
    Platform::CallbackInfo info(out, 2);
    EXPECT_EQ(&info.getOutputStream(), &out);
    EXPECT_EQ(info.getVerbosity(), 2u);
    EXPECT_TRUE(info.getDiscoveredSDOlist().empty());
}

TEST(DiscoveredList, FollowsDiscoveriesInOrderAndDestructionsRemoveEveryEntry)
{
    for (const std::uint32_t verbosity : {0u, 1u, 2u, 3u}) {
        SCOPED_TRACE(verbosity);
        std::ostringstream out;
        const InfoHandle info = makeInfo(out, verbosity);
        const auto a = platformProxy(1, 1);
        const auto b = platformProxy(2, 1);
        discover(a, info);
        discover(b, info);
        discover(a, info);  // the same proxy again: a second entry
        EXPECT_EQ(listed(info), (std::list<ORVA::Platform::ProxyHandle>{a, b, a}));

        destroy(a, info);
        EXPECT_EQ(listed(info), (std::list<ORVA::Platform::ProxyHandle>{b}));
        destroy(b, info);
        EXPECT_TRUE(listed(info).empty());
        if (verbosity == 0) {
            EXPECT_EQ(out.str(), "");
        }
    }
}

TEST(DiscoveredList, DestructionOfAnUndiscoveredProxyChangesNothingAndStillLogs)
{
    std::ostringstream out;
    const InfoHandle info = makeInfo(out, 2);
    const auto known = platformProxy(1, 1);
    discover(known, info);
    out.str("");

    // Same identity, other proxy object: handles are equal only for the same object.
    const auto twin = makeProxy<ORVA::Platform::Proxy>(SDOid(0xabcdef, 1), 4, ORVA::Platform::Attributes());
    destroy(twin, info);
    EXPECT_EQ(listed(info), (std::list<ORVA::Platform::ProxyHandle>{known}));
    EXPECT_EQ(out.str(), eventLines(destructionHeader, SDOid(0xabcdef, 1), 4));
}

TEST(DiscoveredList, EntriesAreCopiesOfTheHandlesThatGoWithTheRecord)
{
    std::ostringstream out;
    const auto proxy = platformProxy(1, 1);
    {
        const InfoHandle info = makeInfo(out, 0);
        discover(proxy, info);
        discover(proxy, info);
        EXPECT_EQ(proxy.shared().use_count(), 3);
    }
    EXPECT_EQ(proxy.shared().use_count(), 1);
}

TEST(EventLines, EachKindWritesHeaderIdentityAndVersionAtVerbosityTwo)
{
    std::ostringstream out;
    const InfoHandle info = makeInfo(out, 2);
    const auto proxy = platformProxy(9, 1);
    discover(proxy, info);
    proxy->setState(std::make_shared<ORVA::Platform::ImmutablePublicationState>(SDOid(0xabcdef, 9), 2,
                                                                                ORVA::Platform::Attributes()));
    Platform::StateChangeCallbackImpl(proxy, info).execute();
    destroy(proxy, info);
    EXPECT_EQ(out.str(), eventLines(discoveryHeader, SDOid(0xabcdef, 9), 1) +
                             eventLines("ORVA::Platform::BasicImpl StateChangeCallbackImpl execute()",
                                        SDOid(0xabcdef, 9), 2) +
                             eventLines(destructionHeader, SDOid(0xabcdef, 9), 2));
}

TEST(EventLines, HeadersNameTheirClassForEveryFamily)
{
    std::ostringstream out;
    const SDOid id(1, 1);
    HALC::SceneGenerator::BasicImpl::DiscoveryCallbackImpl(
        makeProxy<HALC::SceneGenerator::Proxy>(id, 1, HALC::SceneGenerator::Attributes()),
        SmartPtr<HALC::SceneGenerator::BasicImpl::CallbackInfo>(new HALC::SceneGenerator::BasicImpl::CallbackInfo(out, 2)))
        .execute();
    HALC::ForceFeedback::BasicImpl::DestructionCallbackImpl(
        makeProxy<HALC::ForceFeedback::Proxy>(id, 1, HALC::ForceFeedback::Attributes()),
        SmartPtr<HALC::ForceFeedback::BasicImpl::CallbackInfo>(new HALC::ForceFeedback::BasicImpl::CallbackInfo(out, 2)))
        .execute();
    HALC::VKRsim::BasicImpl::DiscoveryCallbackImpl(
        makeProxy<HALC::VKRsim::Proxy>(id, 1, HALC::VKRsim::Attributes()),
        SmartPtr<HALC::VKRsim::BasicImpl::CallbackInfo>(new HALC::VKRsim::BasicImpl::CallbackInfo(out, 2)))
        .execute();
    ORVA::PlatformExtension::BasicImpl::DestructionCallbackImpl(
        makeProxy<ORVA::PlatformExtension::Proxy>(id, 1, ORVA::PlatformExtension::Attributes()),
        SmartPtr<ORVA::PlatformExtension::BasicImpl::CallbackInfo>(
            new ORVA::PlatformExtension::BasicImpl::CallbackInfo(out, 2)))
        .execute();
    EXPECT_EQ(out.str(), eventLines("HALC::SceneGenerator::BasicImpl DiscoveryCallbackImpl execute()", id, 1) +
                             eventLines("HALC::ForceFeedback::BasicImpl DestructionCallbackImpl execute()", id, 1) +
                             eventLines("HALC::VKRsim::BasicImpl DiscoveryCallbackImpl execute()", id, 1) +
                             eventLines("ORVA::PlatformExtension::BasicImpl DestructionCallbackImpl execute()", id, 1));
}

TEST(EventMarks, VerbosityOneWritesOneFlushedCharacterPerEventWithoutLineBreak)
{
    std::stringstream out;
    const InfoHandle info = makeInfo(out, 1);
    const auto proxy = platformProxy(3, 1);
    discover(proxy, info);
    Platform::StateChangeCallbackImpl(proxy, info).execute();
    Platform::StateChangeCallbackImpl(proxy, info).execute();
    destroy(proxy, info);
    EXPECT_EQ(out.str(), "dccx");
    // Marks never touch the proxy: an empty handle is fine at verbosity 1.
    discover(ORVA::Platform::ProxyHandle(), info);
    EXPECT_EQ(out.str(), "dccxd");
    EXPECT_EQ(listed(info).size(), 1u);
}

TEST(Failures, EmptyProxyRaisesAfterTheListChanged)
{
    std::ostringstream out;
    const InfoHandle info = makeInfo(out, 2);
    try {
        discover(ORVA::Platform::ProxyHandle(), info);
        FAIL() << "no exception";
    } catch (const InvalidAccess& e) {
        EXPECT_EQ(std::string(e.what()).rfind("attempt to dereference a null managed pointer to a ", 0), 0u) << e.what();
    }
    EXPECT_EQ(listed(info).size(), 1u);  // the entry went in before the output failed
    EXPECT_EQ(out.str().rfind(std::string(discoveryHeader) + "\n", 0), 0u);

    const auto known = platformProxy(1, 1);
    discover(known, info);
    EXPECT_THROW(destroy(ORVA::Platform::ProxyHandle(), info), InvalidAccess);
    EXPECT_EQ(listed(info), (std::list<ORVA::Platform::ProxyHandle>{known}));  // the empty entry left first
}

TEST(Failures, EmptyRecordOrStateHandleRaisesTheSmartPointerText)
{
    const auto proxy = platformProxy(1, 1);
    const InfoHandle empty;
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind);
        try {
            if (kind == 0)
                discover(proxy, empty);
            else if (kind == 1)
                Platform::StateChangeCallbackImpl(proxy, empty).execute();
            else
                destroy(proxy, empty);
            ADD_FAILURE() << "no exception";
        } catch (const InvalidAccess& e) {
            EXPECT_STREQ(e.what(), "operator->() on null SmartPtr");
        }
    }

    std::ostringstream out;
    const auto stateless = ORVA::Platform::ProxyHandle(std::make_shared<ORVA::Platform::Proxy>(SDOid(1, 2), nullptr));
    EXPECT_THROW(Platform::StateChangeCallbackImpl(stateless, makeInfo(out, 2)).execute(), InvalidAccess);
}

TEST(Factories, CreateTheMatchingCallbackOnTheirRecord)
{
    std::ostringstream out;
    const InfoHandle info = makeInfo(out, 0);
    const auto proxy = platformProxy(5, 1);
    Platform::DiscoveryCallbackFactoryImpl discovery(info);
    Platform::StateChangeCallbackFactoryImpl stateChange(info);
    Platform::DestructionCallbackFactoryImpl destruction(info);
    EXPECT_FALSE(discovery.isNull());
    EXPECT_FALSE(stateChange.isNull());
    EXPECT_FALSE(destruction.isNull());

    const auto found = discovery.create(proxy);
    const auto changed = stateChange.create(proxy);
    const auto gone = destruction.create(proxy);
    EXPECT_NE(dynamic_cast<Platform::DiscoveryCallbackImpl*>(found.get()), nullptr);
    EXPECT_NE(dynamic_cast<Platform::StateChangeCallbackImpl*>(changed.get()), nullptr);
    EXPECT_NE(dynamic_cast<Platform::DestructionCallbackImpl*>(gone.get()), nullptr);
    found->execute();
    EXPECT_EQ(listed(info).size(), 1u);
    gone->execute();
    EXPECT_TRUE(listed(info).empty());
}

TEST(SubscriptionInfoImpl, InstallsOneFactoryOfEachKindInItsSlot)
{
    std::ostringstream out;
    const InfoHandle info = makeInfo(out, 1);
    {
        Platform::SubscriptionInfoImpl subscription(info);
        EXPECT_EQ(info.useCount(), 4);  // one copy per factory
        EXPECT_NE(dynamic_cast<Platform::DiscoveryCallbackFactoryImpl*>(subscription.getDiscoveryCallbackFactory().get()),
                  nullptr);
        EXPECT_NE(dynamic_cast<Platform::StateChangeCallbackFactoryImpl*>(
                      subscription.getStateChangeCallbackFactory().get()),
                  nullptr);
        EXPECT_NE(dynamic_cast<Platform::DestructionCallbackFactoryImpl*>(
                      subscription.getDestructionCallbackFactory().get()),
                  nullptr);
    }
    EXPECT_EQ(info.useCount(), 1);
}

TEST(SubscriptionInfoImpl, CallbacksOutliveTheSubscriptionAndTheUsersHandle)
{
    std::ostringstream out;
    std::unique_ptr<ORVA::Middleware::Callback::Callback> callback;
    {
        InfoHandle info = makeInfo(out, 1);
        SmartPtr<Platform::SubscriptionInfoImpl> subscription(new Platform::SubscriptionInfoImpl(info));
        auto factory = subscription->getStateChangeCallbackFactory();
        subscription.reset();
        info.reset();
        callback = factory->create(platformProxy(1, 1));
    }
    callback->execute();
    EXPECT_EQ(out.str(), "c");
}

TEST(PublicationInfoImpl, CarriesItsOwnDefaultRemoteMethodsFactory)
{
    const HALC::VKRsim::BasicImpl::PublicationInfoImpl first;
    const HALC::VKRsim::BasicImpl::PublicationInfoImpl second;
    const auto factory = first.getRemoteMethodsFactory();
    ASSERT_FALSE(factory.isNull());
    EXPECT_EQ(typeid(*factory.get()), typeid(HALC::VKRsim::RemoteMethodsFactoryInterface));
    EXPECT_NE(factory.get(), second.getRemoteMethodsFactory().get());

    const ORVA::Platform::BasicImpl::PublicationInfoImpl platform;
    EXPECT_FALSE(platform.getRemoteMethodsFactory().isNull());
}

}  // namespace
