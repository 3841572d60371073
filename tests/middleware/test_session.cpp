// Sessions across real processes: discovery, state changes, withdrawal, death of the owner, late
// joiners, separation of executions, and where and when callbacks run.

#include "support/isolation.h"
#include "models/platform/platform.h"
#include "tests/middleware/rangefixture.h"

#include <csignal>
#include <set>

using namespace rangetest;
using namespace std::chrono_literals;
using ORVA::Middleware::Exception;
using ORVA::Platform::Proxy;
using PlatformRecorder = Recorder<Proxy>;

namespace {

SmartPtr<ORVA::Platform::SubscriptionInfo> recordPlatforms(const std::shared_ptr<PlatformRecorder>& recorder)
{
    return recordingSubscription<ORVA::Platform::SubscriptionInfo>(recorder);
}

std::set<Proxy*> distinctProxies(const PlatformRecorder& r, char kind)
{
    std::set<Proxy*> s;
    for (const auto& e : r.events)
        if (e.kind == kind)
            s.insert(e.proxy.get());
    return s;
}

}  // namespace

TEST(Execution, EnterRaisesForEmptyAndPatternNames)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    int argc = 0;
    const char* argv[] = {nullptr};
    auto runtime = ORVA::Middleware::init(ORVA::Middleware::Configuration(argc, argv, "", ""));
    for (const char* name : {"", "range*", "range?", "a[bc]", "back\\slash"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(runtime->enterExecution(name), Exception);
    }
}

TEST(Execution, EnterRaisesWithoutManagerAndSucceedsWithOne)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("middleware");
    const auto started = std::chrono::steady_clock::now();
    try {
        Member::join(name, 800);
        FAIL() << "joined an execution nobody manages";
    } catch (const Exception& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find(name)) << e.what();
    }
    EXPECT_GE(std::chrono::steady_clock::now() - started, 750ms);

    auto manager = startManager(name);
    Member member = Member::join(name);
    EXPECT_EQ(name, member.execution->getName());

    // A manager of another name does not stand for this one.
    EXPECT_THROW(Member::join(name + ".other", 800), Exception);
}

TEST(Session, SubscriberInAnotherProcessFollowsObjectsUntilWithdrawal)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("middleware");
    auto manager = startManager(name);
    Member member = Member::join(name);
    auto recorder = std::make_shared<PlatformRecorder>();
    member.session->subscribe(recordPlatforms(recorder));

    Peer peer = startPeer("orva-test-peer", {"--execution", name, "--count", "3", "--updates", "0"});
    ASSERT_TRUE(member.pumpUntil([&] { return recorder->count('d') == 3; }, 10s)) << recorder->kinds();
    for (const auto& e : recorder->events)
        EXPECT_EQ(1u, e.version);

    // Discovered objects are distinct; their handles compare equal to themselves only.
    EXPECT_EQ(3u, distinctProxies(*recorder, 'd').size());

    peer.process->signal(SIGTERM);
    ASSERT_TRUE(member.pumpUntil([&] { return recorder->count('x') == 3; }, 5s)) << recorder->kinds();
    EXPECT_EQ(distinctProxies(*recorder, 'd'), distinctProxies(*recorder, 'x'));
    EXPECT_TRUE(peer.waitFor("withdrawn"));
    member.pumpFor(300ms);
    EXPECT_EQ(3u, recorder->count('d')) << "an object was discovered twice: " << recorder->kinds();
}

TEST(Session, StateChangesCarryTheVersionOfEachCommit)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("middleware");
    auto manager = startManager(name);
    Member member = Member::join(name);
    auto recorder = std::make_shared<PlatformRecorder>();
    member.session->subscribe(recordPlatforms(recorder));

    // Keep-last-1 may fold updates together, but the final version always arrives and versions only
    // grow.
    Peer peer = startPeer("orva-test-peer", {"--execution", name, "--count", "1", "--updates", "6"});
    ASSERT_TRUE(member.pumpUntil(
        [&] { return !recorder->events.empty() && recorder->events.back().version == 7; }, 10s));
    EXPECT_EQ('d', recorder->events.front().kind);
    for (std::size_t i = 1; i < recorder->events.size(); ++i) {
        EXPECT_EQ('c', recorder->events[i].kind);
        EXPECT_GT(recorder->events[i].version, recorder->events[i - 1].version);
    }
    const auto state = recorder->events.back().proxy->getPublicationState();
    EXPECT_EQ("P1", state->get_callSign());
    EXPECT_EQ(6, state->get_damageState());
}

TEST(Session, OwnerKilledIsSeenDestroyedWithinOneAndAHalfSeconds)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("middleware");
    auto manager = startManager(name);
    Member member = Member::join(name);
    auto recorder = std::make_shared<PlatformRecorder>();
    member.session->subscribe(recordPlatforms(recorder));

    Peer peer = startPeer("orva-test-peer", {"--execution", name, "--count", "2"});
    ASSERT_TRUE(member.pumpUntil([&] { return recorder->count('d') == 2; }, 10s));
    const auto killed = std::chrono::steady_clock::now();
    peer.process->signal(SIGKILL);
    ASSERT_TRUE(member.pumpUntil([&] { return recorder->count('x') == 2; }, 5s)) << recorder->kinds();
    for (const auto& e : recorder->events) {
        if (e.kind == 'x') {
            EXPECT_LT(e.when - killed, 1500ms);
        }
    }
}

TEST(Session, LateJoinerDiscoversExistingObjectsWithCurrentState)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("middleware");
    auto manager = startManager(name);
    Peer peer = startPeer("orva-test-peer", {"--execution", name, "--count", "2", "--updates", "4"});
    ASSERT_TRUE(peer.waitFor("ready"));

    Member member = Member::join(name);
    auto recorder = std::make_shared<PlatformRecorder>();
    member.session->subscribe(recordPlatforms(recorder));
    ASSERT_TRUE(member.pumpUntil([&] { return recorder->count('d') == 2; }, 10s));
    member.pumpFor(300ms);
    EXPECT_EQ("dd", recorder->kinds());
    std::set<std::string> callSigns;
    for (const auto& e : recorder->events) {
        EXPECT_EQ(5u, e.version);
        callSigns.insert(e.proxy->getPublicationState()->get_callSign());
    }
    EXPECT_EQ((std::set<std::string>{"P1", "P2"}), callSigns);
}

TEST(Session, ObjectsOfAnotherExecutionAreNeverSeen)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string mine = uniqueName("middleware"), other = mine + ".other";
    auto managerMine = startManager(mine);
    auto managerOther = startManager(other);
    Member member = Member::join(mine);
    Member witness = Member::join(other);
    auto seen = std::make_shared<PlatformRecorder>(), witnessed = std::make_shared<PlatformRecorder>();
    member.session->subscribe(recordPlatforms(seen));
    witness.session->subscribe(recordPlatforms(witnessed));

    Peer peer = startPeer("orva-test-peer", {"--execution", other, "--count", "2"});
    ASSERT_TRUE(witness.pumpUntil([&] { return witnessed->count('d') == 2; }, 10s));
    member.pumpFor(500ms);
    EXPECT_EQ("", seen->kinds());
}

TEST(Session, OwnObjectsAreSeenByOtherSessionsOnly)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("middleware");
    auto manager = startManager(name);
    Member member = Member::join(name);
    auto otherSession = member.execution->openSession("second");
    auto own = std::make_shared<PlatformRecorder>(), other = std::make_shared<PlatformRecorder>();
    member.session->subscribe(recordPlatforms(own));
    otherSession->subscribe(recordPlatforms(other));

    using namespace ORVA::Platform;
    auto info = SmartPtr<PublicationInfo>(new PublicationInfo(SmartPtr<RemoteMethodsFactoryInterface>(
        new RemoteMethodsFactoryInterface())));
    auto servant = member.session->makeServantFactory<ServantTraits>(info)->createServant(
        ORVA::Middleware::CommunicationProperties(1), ORVA::Middleware::ConcurrencyProperties(1));
    EXPECT_EQ(1u, servant->getPublicationState()->get_ORVA_Platform_VersionCounter());
    auto updater = servant->createUpdater();
    updater->set_callSign("Self");
    servant->commitUpdater(std::move(updater));
    EXPECT_EQ(2u, servant->getPublicationState()->get_ORVA_Platform_VersionCounter());

    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while ((other->events.empty() || other->events.back().version < 2) && std::chrono::steady_clock::now() < deadline)
        otherSession->evokeMultipleCallbacks(10000);
    ASSERT_FALSE(other->events.empty());
    EXPECT_EQ(servant->getSDOid(), other->events.back().proxy->getSDOid());
    EXPECT_EQ("Self", other->events.back().proxy->getPublicationState()->get_callSign());
    member.pumpFor(300ms);
    EXPECT_EQ("", own->kinds());

    servant.reset();
    const auto gone = std::chrono::steady_clock::now() + 5s;
    while (other->count('x') == 0 && std::chrono::steady_clock::now() < gone)
        otherSession->evokeMultipleCallbacks(10000);
    EXPECT_EQ(1u, other->count('x'));
}

TEST(Session, EvokeRunsCallbacksOnCallerAndWaitsOnlyWhenIdle)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("middleware");
    auto manager = startManager(name);
    Member member = Member::join(name);
    // No subscription yet: still a wait of the full limit, not a spin.
    auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(0u, member.session->evokeMultipleCallbacks(200000));
    EXPECT_GE(std::chrono::steady_clock::now() - before, 195ms);

    auto recorder = std::make_shared<PlatformRecorder>();
    member.session->subscribe(recordPlatforms(recorder));

    // Nothing queued: waits for about its limit.
    before = std::chrono::steady_clock::now();
    EXPECT_EQ(0u, member.session->evokeMultipleCallbacks(300000));
    const auto idle = std::chrono::steady_clock::now() - before;
    EXPECT_GE(idle, 295ms);
    EXPECT_LT(idle, 600ms);

    Peer peer = startPeer("orva-test-peer", {"--execution", name, "--count", "3"});
    ASSERT_TRUE(peer.waitFor("ready"));
    std::this_thread::sleep_for(500ms);  // let the samples arrive and queue up

    // Events queued: returns at once although the limit is long, having run them here.
    before = std::chrono::steady_clock::now();
    const std::size_t ran = member.session->evokeMultipleCallbacks(5000000);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
    EXPECT_GE(ran, 1u);
    ASSERT_TRUE(member.pumpUntil([&] { return recorder->count('d') == 3; }, 5s));

    // A callback run elsewhere would show another thread; callers on two threads in turn each see
    // only their own.
    std::thread::id other;
    std::thread worker([&] {
        other = std::this_thread::get_id();
        peer.process->signal(SIGTERM);
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (recorder->count('x') < 3 && std::chrono::steady_clock::now() < deadline)
            member.session->evokeMultipleCallbacks(10000);
    });
    worker.join();
    ASSERT_EQ(3u, recorder->count('x'));
    for (const auto& e : recorder->events)
        EXPECT_EQ(e.kind == 'x' ? other : std::this_thread::get_id(), e.thread) << e.kind;
}

namespace {

class Raising : public ORVA::Middleware::Callback::Callback {
public:
    void execute() override { throw std::runtime_error("callback failed"); }
};

class RaisingDiscovery : public virtual ORVA::Platform::DiscoveryCallbackFactory {
public:
    std::unique_ptr<ORVA::Middleware::Callback::Callback> create(const ORVA::Platform::ProxyHandle&) override
    {
        return std::make_unique<Raising>();
    }
};

}  // namespace

TEST(Session, RaisingCallbackLeavesTheRestQueued)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("middleware");
    auto manager = startManager(name);
    Member member = Member::join(name);
    auto recorder = std::make_shared<PlatformRecorder>();
    auto info = recordPlatforms(recorder);
    member.session->subscribe(info);
    Peer peer = startPeer("orva-test-peer", {"--execution", name, "--count", "2", "--updates", "1"});
    ASSERT_TRUE(peer.waitFor("ready"));
    std::this_thread::sleep_for(500ms);

    info->setDiscoveryCallbackFactory(SmartPtr<ORVA::Platform::DiscoveryCallbackFactory>(new RaisingDiscovery()));
    EXPECT_THROW(member.session->evokeMultipleCallbacks(10000), std::runtime_error);
    // The other object's discovery was not lost with the failure.
    EXPECT_THROW(member.session->evokeMultipleCallbacks(10000), std::runtime_error);
    member.pumpFor(200ms);
    EXPECT_EQ("", recorder->kinds());
}

TEST(Execution, InitReferenceChoosesDomainAndUnicastPeers)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("middleware");
    vkrsim::test::ChildProcess manager({vkrsim::test::builtProgram("orva-executionmanager"), "--execution", name,
                                        "--init-ref", "dds:5@127.0.0.1"});
    const auto join = [&](const char* ref) {
        int argc = 4;
        const char* argv[] = {"-ORBdefaultInitRef", ref, "-joinTimeout", "5000", nullptr};
        auto runtime = ORVA::Middleware::init(ORVA::Middleware::Configuration(argc, argv, "test", ""));
        return runtime->enterExecution(name);
    };
    EXPECT_EQ(name, join("dds:5@127.0.0.1")->getName());
    // The same execution name in the default domain is another range.
    int argc = 4;
    const char* argv[] = {"-ORBdefaultInitRef", "dds:0", "-joinTimeout", "800", nullptr};
    auto other = ORVA::Middleware::init(ORVA::Middleware::Configuration(argc, argv, "test", ""));
    EXPECT_THROW(other->enterExecution(name), Exception);
    EXPECT_THROW(join("dds:5@no such host"), Exception);
}

TEST(Session, SecondSubscriptionReplacesTheFirst)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("middleware");
    auto manager = startManager(name);
    Member member = Member::join(name);
    auto first = std::make_shared<PlatformRecorder>(), second = std::make_shared<PlatformRecorder>();
    member.session->subscribe(recordPlatforms(first));
    Peer peer = startPeer("orva-test-peer", {"--execution", name, "--count", "1"});
    ASSERT_TRUE(member.pumpUntil([&] { return first->count('d') == 1; }, 10s));

    member.session->subscribe(recordPlatforms(second));
    peer.process->signal(SIGTERM);
    ASSERT_TRUE(member.pumpUntil([&] { return second->count('x') == 1; }, 5s)) << second->kinds();
    // The known object stays known: no second discovery, and the old information hears nothing more.
    EXPECT_EQ("x", second->kinds());
    EXPECT_EQ("d", first->kinds());
    EXPECT_EQ(first->events[0].proxy, second->events[0].proxy);
}

TEST(ExecutionManager, StopsInOrderAndTheExecutionEndsWithIt)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("middleware");
    const std::string output = ::testing::TempDir() + "manager." + std::to_string(::getpid());
    vkrsim::test::ChildProcess manager({vkrsim::test::builtProgram("orva-executionmanager"), "--execution", name},
                                       output);
    Member::join(name);
    manager.signal(SIGINT);
    EXPECT_EQ(0, manager.wait(5s).value_or(-1));
    EXPECT_NE(std::string::npos, vkrsim::test::readFile(output).find("withdrawing")) << vkrsim::test::readFile(output);
    EXPECT_THROW(Member::join(name, 800), Exception);

    for (const std::vector<std::string>& bad : {std::vector<std::string>{}, {"--execution"}, {"--execution", "a*"},
                                                {"--execution", "x", "--init-ref", "nonsense"}, {"--bogus", "1"}}) {
        std::vector<std::string> argv{vkrsim::test::builtProgram("orva-executionmanager")};
        argv.insert(argv.end(), bad.begin(), bad.end());
        vkrsim::test::ChildProcess refused(argv, "/dev/null", "", true);
        const int status = refused.wait(5s).value_or(-1);
        EXPECT_TRUE(status == 1 || status == 2) << argv.size() << " args, status " << status;
    }
}

TEST(Runtime, TransportConfigurationIsAppliedAndCheckedAtInit)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("middleware");
    vkrsim::test::ChildProcess manager(
        {vkrsim::test::builtProgram("orva-executionmanager"), "--execution", name, "--init-ref", "dds:9"});
    const auto runtimeWith = [](const std::string& xml) {
        int argc = 4;
        const char* argv[] = {"-ORBdefaultInitRef", "dds:9", "-joinTimeout", "5000", nullptr};
        return ORVA::Middleware::init(ORVA::Middleware::Configuration(argc, argv, "test", xml));
    };
    auto runtime = runtimeWith(
        "<CycloneDDS><Domain id=\"any\"><Discovery><ParticipantIndex>auto</ParticipantIndex></Discovery>"
        "</Domain></CycloneDDS>");
    EXPECT_EQ(name, runtime->enterExecution(name)->getName());
    runtime.reset();
    try {
        runtimeWith("<CycloneDDS><Domain id=\"any\"><General><AllowMulticast>maybe</AllowMulticast>"
                    "</General></Domain></CycloneDDS>");
        ADD_FAILURE() << "a malformed transport configuration was accepted";
    } catch (const Exception& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find("dds_create_domain")) << e.what();
    }
}
