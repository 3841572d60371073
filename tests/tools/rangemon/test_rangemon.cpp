// rangemon in its own process, watching objects that other processes publish: its output byte
// for byte, its marks, its exit on failure, on a signal and at the end of its duration.

#include "support/isolation.h"
#include "tests/basicimpl/expectedoutput.h"
#include "tests/basicimpl/livefixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <set>
#include <thread>

namespace {

using namespace basicimpltest;

// rangemon with standard output and standard error in files of their own.
struct Monitor {
    std::string output = tempPath("rangemon.out");
    std::string errors = tempPath("rangemon.err");
    std::unique_ptr<vkrsim::test::ChildProcess> process;

    explicit Monitor(const std::vector<std::string>& arguments)
    {
        std::string command = "exec '" + vkrsim::test::builtProgram("rangemon") + "'";
        for (const auto& argument : arguments)
            command += " '" + argument + "'";
        command += " 2>'" + errors + "'";
        process = std::make_unique<vkrsim::test::ChildProcess>(
            std::vector<std::string>{"/bin/sh", "-c", command}, output);
    }
    std::string text() const { return vkrsim::test::readFile(output); }
    std::string errorText() const { return vkrsim::test::readFile(errors); }
    bool waitFor(const std::string& word, std::chrono::milliseconds timeout = 15s) const
    {
        return vkrsim::test::eventually([&] { return text().find(word) != std::string::npos; }, timeout);
    }
    bool waitForCount(const std::string& word, std::size_t count, std::chrono::milliseconds timeout = 15s) const
    {
        return vkrsim::test::eventually(
            [&] {
                const std::string all = text();
                std::size_t found = 0;
                for (auto at = all.find(word); at != std::string::npos; at = all.find(word, at + word.size()))
                    ++found;
                return found >= count;
            },
            timeout);
    }
    bool joined() const
    {
        return vkrsim::test::eventually([&] { return errorText().find("monitoring") != std::string::npos; }, 15s);
    }
};

// One object of the case's class created, updated per --set group and withdrawn while rangemon
// watches at `verbosity`; returns the publisher's identity text of it.
std::string publishUnderMonitor(const LiveCase& c, const std::string& execution, const Monitor& monitor,
                                std::uint32_t verbosity)
{
    const Peer publisher = startPeer("basicimpl-objectpublisher", publisherArguments(c, execution));
    EXPECT_TRUE(publisher.waitFor("published")) << publisher.text();
    const auto ids = publishedIds(publisher);
    if (ids.size() != 1)
        return {};
    // Each step waits until rangemon has shown the last one, so no update merges with the next.
    const std::string discovery = verbosity == 1 ? "d" : c.ns + "::BasicImpl DiscoveryCallbackImpl";
    const std::string change = verbosity == 1 ? "c" : c.ns + "::BasicImpl StateChangeCallbackImpl";
    EXPECT_TRUE(monitor.waitFor(discovery)) << monitor.text();
    for (std::size_t step = 1; step <= c.sets.size(); ++step) {
        publisher.process->signal(SIGUSR1);
        EXPECT_TRUE(monitor.waitForCount(change, step)) << monitor.text();
    }
    publisher.process->signal(SIGTERM);
    EXPECT_EQ(publisher.process->wait(10s), 0);
    EXPECT_TRUE(monitor.waitFor(verbosity == 1 ? "x" : c.ns + "::BasicImpl DestructionCallbackImpl"))
        << monitor.text();
    return ids[0];
}

TEST(Rangemon, LogsEveryClassPublishedByAnotherProcessByteForByte)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    for (const LiveCase& c : liveCases()) {
        SCOPED_TRACE(c.className);
        const std::string execution = uniqueName("basicimpl");
        const Peer manager = startManager(execution);
        Monitor monitor({"--execution", execution});  // verbosity 3 by default
        ASSERT_TRUE(monitor.joined()) << monitor.errorText();

        const std::string id = publishUnderMonitor(c, execution, monitor, 3);
        // Lines end with a flush: everything is in the file before rangemon stops.
        EXPECT_EQ(monitor.text(), expectedOutput(c, id, 3));
        EXPECT_EQ(monitor.process->stop(), 0);
        EXPECT_EQ(monitor.text(), expectedOutput(c, id, 3));
    }
}

TEST(Rangemon, VKRsimStateChangeAtVerbosityThreeIsTwentyLines)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const LiveCase& c = liveCase("VKRsim");
    const std::string execution = uniqueName("basicimpl");
    const Peer manager = startManager(execution);
    Monitor monitor({"--execution", execution, "--verbosity", "3"});
    ASSERT_TRUE(monitor.joined()) << monitor.errorText();
    publishUnderMonitor(c, execution, monitor, 3);

    const std::string text = monitor.text();
    const auto from = text.find("HALC::VKRsim::BasicImpl StateChangeCallbackImpl");
    const auto to = text.find("HALC::VKRsim::BasicImpl DestructionCallbackImpl");
    ASSERT_NE(from, std::string::npos);
    ASSERT_NE(to, std::string::npos);
    const std::string stateChange = text.substr(from, to - from);
    EXPECT_EQ(std::count(stateChange.begin(), stateChange.end(), '\n'), 20);
}

TEST(Rangemon, VerbosityOneWritesTheMarksWithoutLineBreaks)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const LiveCase& c = liveCase("ForceFeedback");
    const std::string execution = uniqueName("basicimpl");
    const Peer manager = startManager(execution);
    Monitor monitor({"--execution", execution, "--verbosity", "1"});
    ASSERT_TRUE(monitor.joined()) << monitor.errorText();
    publishUnderMonitor(c, execution, monitor, 1);
    EXPECT_EQ(monitor.text(), "dccx");
}

TEST(Rangemon, VerbosityZeroWritesNothing)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string execution = uniqueName("basicimpl");
    const Peer manager = startManager(execution);
    Monitor monitor({"--execution", execution, "--verbosity", "0"});
    ASSERT_TRUE(monitor.joined()) << monitor.errorText();
    const Peer publisher =
        startPeer("basicimpl-objectpublisher", {"--execution", execution, "--class", "Platform", "--objects", "3"});
    ASSERT_TRUE(publisher.waitFor("published"));
    publisher.process->signal(SIGUSR1);
    ASSERT_TRUE(publisher.waitFor("committed 2"));
    std::this_thread::sleep_for(1s);  // nothing to wait for: the output stays empty
    publisher.process->signal(SIGTERM);
    EXPECT_EQ(publisher.process->wait(10s), 0);
    EXPECT_EQ(monitor.process->stop(), 0);
    EXPECT_EQ(monitor.text(), "");
}

TEST(Rangemon, FollowsThePlatformsOfUutsim)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    if (!std::ifstream(vkrsim::test::builtProgram("uutsim")))
        GTEST_SKIP() << "uutsim is not built";
    const std::string execution = uniqueName("basicimpl");
    const Peer manager = startManager(execution);
    Monitor monitor({"--execution", execution});
    ASSERT_TRUE(monitor.joined()) << monitor.errorText();
    const Peer uutsim = startPeer("uutsim", {"--execution", execution, "--count", "2", "--rate", "10"});
    ASSERT_TRUE(monitor.waitForCount("ORVA::Platform::BasicImpl StateChangeCallbackImpl", 4)) << monitor.text();
    uutsim.process->signal(SIGTERM);
    ASSERT_TRUE(monitor.waitForCount("ORVA::Platform::BasicImpl DestructionCallbackImpl", 2)) << monitor.text();
    EXPECT_EQ(monitor.process->stop(), 0);

    // Every state change: three event lines and the fifteen dump lines in model order, with
    // the version of the "Version " line repeated on the first dump line.
    const std::regex stateChange(
        "ORVA::Platform::BasicImpl StateChangeCallbackImpl execute\\(\\)\n"
        "SDO ID (\\S+)\n"
        "Version (\\d+)\n"
        " this\\.ORVA_Platform_VersionCounter (\\d+)\n"
        " this\\.platformID \n"
        "    platformID\\.siteID \\d+\n"
        "    platformID\\.applicationID \\d+\n"
        "    platformID\\.objectID \\d+\n"
        " this\\.timeStamp \n"
        " this\\.callSign [^\n]*\n"
        " this\\.designator [^\n]*\n"
        " this\\.platformType \n"
        "    platformType\\.typeIndex \\d+\n"
        "    platformType\\.databaseVersion \\d+\n"
        " this\\.affiliation -?\\d+\n"
        " this\\.damageState -?\\d+\n"
        " this\\.damagePercent [-+.e0-9]+\n"
        " this\\.tspi \n"
        "(?=ORVA::Platform::BasicImpl|$)");
    const std::string text = monitor.text();
    std::size_t changes = 0;
    std::set<std::string> ids;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), stateChange); it != std::sregex_iterator(); ++it) {
        ++changes;
        ids.insert((*it)[1]);
        EXPECT_EQ((*it)[2], (*it)[3]);
    }
    const auto headers = [&](const std::string& kind) {
        std::size_t n = 0;
        for (auto at = text.find(kind); at != std::string::npos; at = text.find(kind, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(changes, headers("StateChangeCallbackImpl execute()"));
    EXPECT_GE(changes, 4u);
    EXPECT_EQ(ids.size(), 2u);
    EXPECT_EQ(headers("DiscoveryCallbackImpl execute()"), 2u);
    EXPECT_EQ(headers("DestructionCallbackImpl execute()"), 2u);
}

TEST(Rangemon, SaysWhyAndFailsWhenItCannotJoin)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    struct Row {
        std::vector<std::string> arguments;
        int status;
        std::string says;
    };
    const std::string lonely = uniqueName("basicimpl");
    const Row rows[] = {
        {{"--execution", lonely}, 1, "rangemon - cannot join execution \"" + lonely + "\": "},
        {{"--execution", "pattern*"}, 1, "rangemon - cannot join execution \"pattern*\": "},
        {{"--execution", "E", "--init-ref", "no such reference"}, 1, "rangemon - cannot join execution \"E\": "},
        {{"--execution", "E", "--verbosity", "loud"}, 2, "usage: rangemon --execution NAME"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.says);
        Monitor monitor(row.arguments);
        EXPECT_EQ(monitor.process->wait(30s), row.status);
        EXPECT_NE(monitor.errorText().find(row.says), std::string::npos) << monitor.errorText();
        EXPECT_EQ(monitor.text(), "");
    }
}

TEST(Rangemon, EndsAfterItsDurationAndOnInterrupt)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string execution = uniqueName("basicimpl");
    const Peer manager = startManager(execution);

    const auto start = std::chrono::steady_clock::now();
    Monitor timed({"--execution", execution, "--duration", "1.5"});
    EXPECT_EQ(timed.process->wait(20s), 0) << timed.errorText();
    EXPECT_GE(std::chrono::steady_clock::now() - start, 1500ms);

    Monitor interrupted({"--execution", execution});
    ASSERT_TRUE(interrupted.joined()) << interrupted.errorText();
    interrupted.process->signal(SIGINT);
    EXPECT_EQ(interrupted.process->wait(10s), 0);
}

}  // namespace
