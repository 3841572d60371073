// The families in this process, subscribed through their SubscriptionInfoImpl, following real
// objects that another process publishes: the output at every verbosity, byte for byte, and the
// discovered list with the proxies the middleware made.

#include "support/isolation.h"
#include "tests/basicimpl/expectedoutput.h"
#include "tests/basicimpl/livefixture.h"

#include <gtest/gtest.h>

#include <list>

namespace {

using namespace basicimpltest;

// Four members, at verbosity 0 to 3, watch the class while the publisher creates one object,
// commits each --set group and withdraws it. Between steps every member must have seen the step
// (its listed proxy reached the version), so no update is merged with the next.
template <class CallbackInfo, class SubscriptionInfoImpl>
void followAtEveryVerbosity(const LiveCase& c)
{
    const std::string execution = uniqueName("basicimpl");
    const Peer manager = startManager(execution);
    std::vector<std::unique_ptr<Watcher<CallbackInfo, SubscriptionInfoImpl>>> watchers;
    for (std::uint32_t verbosity = 0; verbosity <= 3; ++verbosity)
        watchers.push_back(std::make_unique<Watcher<CallbackInfo, SubscriptionInfoImpl>>(execution, verbosity));

    const Peer publisher = startPeer("basicimpl-objectpublisher", publisherArguments(c, execution));
    ASSERT_TRUE(publisher.waitFor("published")) << publisher.text();
    const auto ids = publishedIds(publisher);
    ASSERT_EQ(ids.size(), 1u);

    auto allAt = [&](std::vector<std::uint32_t> versions) {
        return [&watchers, versions] {
            for (auto& watcher : watchers)
                if (watcher->listedVersions() != versions)
                    return false;
            return true;
        };
    };
    ASSERT_TRUE(pumpUntil(watchers, allAt({1}))) << "discovery";
    for (std::uint32_t version = 2; version <= c.sets.size() + 1; ++version) {
        publisher.process->signal(SIGUSR1);
        ASSERT_TRUE(pumpUntil(watchers, allAt({version}))) << "state change to version " << version;
    }
    publisher.process->signal(SIGTERM);
    ASSERT_TRUE(pumpUntil(watchers, allAt({}))) << "destruction";
    EXPECT_EQ(publisher.process->wait(10s), 0);

    for (std::uint32_t verbosity = 0; verbosity <= 3; ++verbosity) {
        SCOPED_TRACE("verbosity " + std::to_string(verbosity));
        EXPECT_EQ(watchers[verbosity]->out.str(), expectedOutput(c, ids[0], verbosity));
    }
}

TEST(LiveCallbacks, PlatformAtEveryVerbosity)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    followAtEveryVerbosity<ORVA::Platform::BasicImpl::CallbackInfo, ORVA::Platform::BasicImpl::SubscriptionInfoImpl>(
        liveCase("Platform"));
}

TEST(LiveCallbacks, PlatformExtensionAtEveryVerbosity)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    followAtEveryVerbosity<ORVA::PlatformExtension::BasicImpl::CallbackInfo,
                           ORVA::PlatformExtension::BasicImpl::SubscriptionInfoImpl>(liveCase("PlatformExtension"));
}

TEST(LiveCallbacks, VKRsimAtEveryVerbosity)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    followAtEveryVerbosity<HALC::VKRsim::BasicImpl::CallbackInfo, HALC::VKRsim::BasicImpl::SubscriptionInfoImpl>(
        liveCase("VKRsim"));
}

TEST(LiveCallbacks, SceneGeneratorAtEveryVerbosity)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    followAtEveryVerbosity<HALC::SceneGenerator::BasicImpl::CallbackInfo,
                           HALC::SceneGenerator::BasicImpl::SubscriptionInfoImpl>(liveCase("SceneGenerator"));
}

TEST(LiveCallbacks, ForceFeedbackAtEveryVerbosity)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    followAtEveryVerbosity<HALC::ForceFeedback::BasicImpl::CallbackInfo,
                           HALC::ForceFeedback::BasicImpl::SubscriptionInfoImpl>(liveCase("ForceFeedback"));
}

// The middleware never reports one object twice, so a second record is fed through the
// factories of its own SubscriptionInfoImpl with the proxies of real remote objects.
TEST(LiveCallbacks, RemoteProxyDiscoveredTwiceLeavesTwiceAndUndiscoveredDestructionStillLogs)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    namespace Platform = ORVA::Platform::BasicImpl;
    using Handles = std::list<ORVA::Platform::ProxyHandle>;
    const std::string execution = uniqueName("basicimpl");
    const Peer manager = startManager(execution);
    std::vector<std::unique_ptr<Watcher<Platform::CallbackInfo, Platform::SubscriptionInfoImpl>>> watchers;
    watchers.push_back(std::make_unique<Watcher<Platform::CallbackInfo, Platform::SubscriptionInfoImpl>>(execution, 0));
    auto& watcher = *watchers.front();

    const Peer publisher = startPeer("basicimpl-objectpublisher",
                                     {"--execution", execution, "--class", "Platform", "--objects", "2"});
    ASSERT_TRUE(publisher.waitFor("published")) << publisher.text();
    ASSERT_TRUE(pumpUntil(watchers, [&] { return watcher.info->getDiscoveredSDOlist().size() == 2; }));
    const Handles remote = watcher.info->getDiscoveredSDOlist();
    EXPECT_EQ(watcher.out.str(), "");  // verbosity 0: the list is kept, nothing written

    std::ostringstream out;
    const ORVA::Middleware::SmartPtr<Platform::CallbackInfo> twice(new Platform::CallbackInfo(out, 2));
    const Platform::SubscriptionInfoImpl subscription(twice);
    const auto a = remote.front();
    const auto b = remote.back();
    for (const auto& proxy : {a, b, a})
        subscription.getDiscoveryCallbackFactory()->create(proxy)->execute();
    EXPECT_EQ(twice->getDiscoveredSDOlist(), (Handles{a, b, a}));

    // The publisher withdraws its first object; the subscribed record loses it by itself.
    publisher.process->signal(SIGUSR2);
    ASSERT_TRUE(publisher.waitFor("withdrawn"));
    ASSERT_TRUE(pumpUntil(watchers, [&] { return watcher.info->getDiscoveredSDOlist().size() == 1; }));
    const auto kept = watcher.info->getDiscoveredSDOlist().front();
    const auto gone = kept == a ? b : a;
    std::ostringstream goneId;
    goneId << gone->getSDOid();
    EXPECT_EQ(goneId.str(), publishedIds(publisher).front());

    out.str("");
    subscription.getDestructionCallbackFactory()->create(gone)->execute();
    EXPECT_EQ(twice->getDiscoveredSDOlist(), (Handles{kept}));
    const std::string destructionLines = "ORVA::Platform::BasicImpl DestructionCallbackImpl execute()\nSDO ID " +
                                         goneId.str() + "\nVersion 1\n";
    EXPECT_EQ(out.str(), destructionLines);

    // Again, now that it is no longer listed: nothing changes, the event is still logged.
    out.str("");
    subscription.getDestructionCallbackFactory()->create(gone)->execute();
    EXPECT_EQ(twice->getDiscoveredSDOlist(), (Handles{kept}));
    EXPECT_EQ(out.str(), destructionLines);
}

}  // namespace
