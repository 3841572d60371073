// The session thread against real range peers: execution manager, uutsim publishing Platform
// objects and rangemon watching the VKRsim object from other processes.

#include "sessionharness.h"

#include "rangelink/vkrsimpublication.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>

using namespace rangelink;

namespace linktest {
namespace {

struct Entry {
    int index = 0;
    double x = 0, y = 0, z = 0, psi = 0, theta = 0, phi = 0, vx = 0, vy = 0, vz = 0;
    unsigned long stamp = 0;
};
struct Pass {
    std::vector<Entry> entries;
};

// Takes the Platform report out of the console: a count line, then eleven lines per Platform in a
// fixed order. Any other line between them is a fault of the report.
std::vector<Pass> passes(const std::string& console, std::string& error)
{
    static const char* const labels[] = {"X pos = ", "Y pos = ", "Z pos = ", "X psi = ", "Y theta = ",
                                         "Z phi = ", "X vel = ", "Y vel = ", "Z vel = "};
    const std::vector<std::string> all = lines(console);
    std::vector<Pass> result;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].rfind("Number of Platforms = ", 0) != 0)
            continue;
        const int n = std::atoi(all[i].c_str() + 22);
        Pass pass;
        for (int k = 1; k <= n; ++k) {
            if (i + 11 >= all.size()) {
                error = "report cut short";
                return result;
            }
            if (all[++i] != "Stuff for Platform # " + std::to_string(k)) {
                error = "expected counter line " + std::to_string(k) + ", got: " + all[i];
                return result;
            }
            Entry e;
            e.index = k;
            double* fields[] = {&e.x, &e.y, &e.z, &e.psi, &e.theta, &e.phi, &e.vx, &e.vy, &e.vz};
            for (int f = 0; f < 9; ++f) {
                if (all[++i].rfind(labels[f], 0) != 0) {
                    error = std::string("expected ") + labels[f] + ", got: " + all[i];
                    return result;
                }
                *fields[f] = std::strtod(all[i].c_str() + std::strlen(labels[f]), nullptr);
            }
            if (all[++i].rfind("Time Stamp = ", 0) != 0) {
                error = "expected Time Stamp, got: " + all[i];
                return result;
            }
            e.stamp = std::strtoul(all[i].c_str() + 13, nullptr, 10);
            pass.entries.push_back(e);
        }
        result.push_back(pass);
    }
    return result;
}

// The attribute dumps of VKRsim state changes that rangemon printed, in order: label -> text.
std::vector<std::map<std::string, std::string>> vkrsimStates(const std::string& log)
{
    std::vector<std::map<std::string, std::string>> states;
    const std::vector<std::string> all = lines(log);
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i] != "HALC::VKRsim::BasicImpl StateChangeCallbackImpl execute()")
            continue;
        std::map<std::string, std::string> state;
        for (std::size_t j = i + 3; j < all.size() && j < i + 20; ++j) {
            const std::string& line = all[j];
            const std::size_t label = line.find_first_not_of(' ');
            if (label == std::string::npos)
                break;
            const std::size_t space = line.find(' ', label);
            state[line.substr(label, space - label)] = space == std::string::npos ? "" : line.substr(space + 1);
        }
        states.push_back(state);
    }
    return states;
}

double relativeDifference(double a, double b) { return std::fabs(a - b) / std::max(1.0, std::fabs(b)); }

TEST_F(SessionHarness, OnePlatformIsReportedStoredAndPublishedAsTheView)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string execution = uniqueName("Link");
    startPeer("orva-executionmanager", {"--execution", execution});
    startPeer("uutsim", {"--execution", execution, "--count", "1", "--rate", "20", "--lat", "0", "--lon", "0", "--alt", "100"});
    startPeer("rangemon", {"--execution", execution, "--verbosity", "3"}, "rangemon.log");
    writeConfigFor(execution);
    stateBlock.panDegrees = 10;
    stateBlock.tiltDegrees = -5;

    join();
    ASSERT_TRUE(waitForConsole("Number of Platforms = 1", 5)) << console();
    ASSERT_TRUE(vkrsim::test::eventually([&] { return vkrsimStates(peerLog("rangemon.log")).size() >= 3; }, 20s))
        << peerLog("rangemon.log");
    // A state change of the Platform too, not only its discovery: the passes can outrun uutsim's
    // first update after the discovery.
    ASSERT_TRUE(waitForConsole(" this.tspi \n", 1)) << console();
    ASSERT_TRUE(resignAndWait());

    const auto boxes = boxes_.boxes();
    ASSERT_GE(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "From Orva Subscriber");
    EXPECT_EQ(boxes[0].caption, "");
    EXPECT_EQ(boxes.size(), 1u) << boxes.back().text;

    const std::string out = console();
    std::string error;
    const std::vector<Pass> all = passes(out, error);
    ASSERT_TRUE(error.empty()) << error << "\n" << out;
    ASSERT_GE(all.size(), 5u);
    for (const Pass& p : all)
        ASSERT_EQ(p.entries.size(), 1u);
    // Platform callbacks log to the same console at verbosity 3.
    EXPECT_NE(out.find("ORVA::Platform::BasicImpl DiscoveryCallbackImpl execute()"), std::string::npos);
    EXPECT_NE(out.find(" this.tspi \n"), std::string::npos);

    // The state block holds the last reported pose (printed with six significant digits) and
    // the view angles computed from it.
    const Entry& last = all.back().entries.back();
    EXPECT_LT(relativeDifference(stateBlock.uutX, last.x), 1e-5);
    EXPECT_LT(relativeDifference(stateBlock.uutY, last.y), 1e-5);
    EXPECT_LT(relativeDifference(stateBlock.uutPsi, last.psi), 1e-5);
    EXPECT_GT(last.stamp, 1700000000ul);
    EXPECT_DOUBLE_EQ(stateBlock.sightPsi, stateBlock.uutPsi - 10 * 0.0174532925);
    EXPECT_DOUBLE_EQ(stateBlock.sightTheta, stateBlock.uutTheta);
    EXPECT_DOUBLE_EQ(stateBlock.sightPhi, stateBlock.uutPhi - 5 * 0.0174532925);

    // Another process sees the VKRsim object carry the view of each update.
    const auto states = vkrsimStates(peerLog("rangemon.log"));
    for (const auto& s : states) {
        EXPECT_EQ(s.at("this.fieldOfView"), "90");
        EXPECT_EQ(s.at("this.zoomFactor"), "1");
        EXPECT_EQ(s.at("this.terrainID"), "101");
        EXPECT_EQ(s.at("this.viewToX"), "0");
        EXPECT_EQ(s.at("this.viewToY"), "0");
        EXPECT_EQ(s.at("this.viewToZ"), "0");
    }
    // Each published view matches a reported pose turned by pan and tilt.
    int matched = 0;
    for (const auto& s : states) {
        const double fromX = std::strtod(s.at("this.viewFromX").c_str(), nullptr);
        const double viewPsi = std::strtod(s.at("this.viewPsi").c_str(), nullptr);
        for (const Pass& p : all) {
            const Entry& e = p.entries[0];
            if (relativeDifference(fromX, e.x) < 1e-5 && std::fabs(viewPsi - (e.psi - 10 * 0.0174532925)) < 1e-5) {
                ++matched;
                break;
            }
        }
    }
    EXPECT_GE(matched, 2) << "published views do not follow the reported poses";
    ASSERT_TRUE(vkrsim::test::eventually(
        [&] { return peerLog("rangemon.log").find("HALC::VKRsim::BasicImpl DestructionCallbackImpl execute()") != std::string::npos; },
        5s))
        << "the VKRsim object was not withdrawn on Resign";
}

TEST_F(SessionHarness, TwoPlatformsGiveTwoUpdatesPerPassAndWithdrawnPlatformsLeaveThePose)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string execution = uniqueName("Link");
    startPeer("orva-executionmanager", {"--execution", execution});
    ChildProcess& uut = startPeer("uutsim", {"--execution", execution, "--count", "2", "--rate", "20", "--lat", "0", "--lon", "0", "--alt", "100"});
    startPeer("rangemon", {"--execution", execution, "--verbosity", "2"}, "rangemon.log");
    writeConfigFor(execution);

    join();
    ASSERT_TRUE(waitForConsole("Number of Platforms = 2", 5)) << console();
    // Both Platforms withdrawn: the passes stop, the pose stays.
    uut.stop();
    ASSERT_TRUE(waitForConsole("ORVA::Platform::BasicImpl DestructionCallbackImpl execute()", 2)) << console();
    const std::string before = console();
    const double x = stateBlock.uutX, psi = stateBlock.uutPsi;
    std::this_thread::sleep_for(500ms);
    const std::string after = console();
    EXPECT_EQ(after, before) << "a pass ran with no Platform left";
    EXPECT_EQ(stateBlock.uutX, x);
    EXPECT_EQ(stateBlock.uutPsi, psi);

    std::string error;
    const std::vector<Pass> all = passes(after, error);
    ASSERT_TRUE(error.empty()) << error;
    // The pose of the later entry of the last pass stays in the state block.
    const Entry& later = all.back().entries.back();
    EXPECT_EQ(later.index, static_cast<int>(all.back().entries.size()));
    EXPECT_LT(relativeDifference(x, later.x), 1e-5);
    EXPECT_LT(relativeDifference(psi, later.psi), 1e-5);

    // One commit per reported Platform: the version rangemon last saw is 1 + all entries.
    std::size_t commits = 0;
    for (const Pass& p : all)
        commits += p.entries.size();
    const std::string wanted = "Version " + std::to_string(commits + 1);
    EXPECT_TRUE(vkrsim::test::eventually([&] {
        const std::string log = peerLog("rangemon.log");
        const std::size_t header = log.rfind("HALC::VKRsim::BasicImpl StateChangeCallbackImpl execute()");
        return header != std::string::npos && log.find(wanted, header) != std::string::npos;
    }, 5s)) << wanted << "\n" << peerLog("rangemon.log");
    ASSERT_TRUE(resignAndWait());
}

TEST_F(SessionHarness, ResignWithdrawsTheObjectAndJoinAgainRunsAFullSession)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string execution = uniqueName("Link");
    startPeer("orva-executionmanager", {"--execution", execution});
    startPeer("rangemon", {"--execution", execution, "--verbosity", "2"}, "rangemon.log");
    writeConfigFor(execution);
    const auto seen = [&](const std::string& word, int times) {
        return vkrsim::test::eventually([&] { return count(peerLog("rangemon.log"), word) >= times; }, 15s);
    };

    join();
    ASSERT_TRUE(seen("HALC::VKRsim::BasicImpl DiscoveryCallbackImpl execute()", 1)) << peerLog("rangemon.log");
    ASSERT_TRUE(resignAndWait());
    EXPECT_TRUE(seen("HALC::VKRsim::BasicImpl DestructionCallbackImpl execute()", 1)) << peerLog("rangemon.log");
    // No Platform: the session cycled silently.
    EXPECT_EQ(console().find("Number of Platforms"), std::string::npos);

    // The dialog clears the stop request for a new session.
    stateBlock.stopSession = false;
    join();
    EXPECT_TRUE(seen("HALC::VKRsim::BasicImpl DiscoveryCallbackImpl execute()", 2)) << peerLog("rangemon.log");
    ASSERT_TRUE(resignAndWait());
    EXPECT_TRUE(seen("HALC::VKRsim::BasicImpl DestructionCallbackImpl execute()", 2));
}

// The operator presses Resign while the greeting is still open: the thread still joins, sets up,
// runs its cycle and leaves in order, without an error.
void resignWhileGreeting(const desktop::MessageBoxRequest& request)
{
    if (request.text == "From Orva Subscriber")
        stateBlock.stopSession = true;
}

TEST_F(SessionHarness, ResignDuringTheGreetingStillJoinsAndLeavesInOrder)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string execution = uniqueName("Link");
    startPeer("orva-executionmanager", {"--execution", execution});
    writeConfigFor(execution);
    const desktop::MessageBoxHandler previous = desktop::setMessageBoxHandler(&resignWhileGreeting);
    join();
    const bool ended = resignAndWait(20s);
    desktop::setMessageBoxHandler(previous);
    ASSERT_TRUE(ended);
    EXPECT_TRUE(boxes_.boxes().empty()) << boxes_.boxes().front().text;
    EXPECT_EQ(console(), "");
}

TEST_F(SessionHarness, JoinFailuresShowTheErrorBoxAndEndTheThread)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    struct Row {
        const char* name;
        bool writeFile;
        bool missingFileLine;
    } rows[] = {
        {"no config.txt", false, true},
        {"an execution that no manager announces", true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::remove("config.txt");
        if (row.writeFile)
            writeConfigFor(uniqueName("Nobody"));
        const std::size_t boxesBefore = boxes_.boxes().size();
        const std::size_t consoleBefore = console().size();
        stateBlock.stopSession = false;
        join();
        ASSERT_TRUE(resignAndWait(30s));
        const auto boxes = boxes_.boxes();
        ASSERT_EQ(boxes.size(), boxesBefore + 2);
        EXPECT_EQ(boxes[boxesBefore].text, "From Orva Subscriber");
        EXPECT_EQ(boxes[boxesBefore + 1].text, "Unable to join ORVA Execution");
        EXPECT_EQ(boxes[boxesBefore + 1].caption, "Error!");
        const std::string out = console().substr(consoleBefore);
        EXPECT_EQ(out, row.missingFileLine ? "No Configuration file (config.txt) found.\n" : "");
    }
}

// A failure after joining (here a frame origin that the geodesy refuses) is reported and what
// exists is released in order; the program stays up and the object never lingers.
TEST_F(SessionHarness, FailureAfterJoiningIsReportedAndReleasesInOrder)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string execution = uniqueName("Link");
    startPeer("orva-executionmanager", {"--execution", execution});
    writeConfig("ORVA.executionName=" + execution + "\nORVA.sessionName=S\nORVA.LTP_latitude=95\n");

    join();
    ASSERT_TRUE(resignAndWait(30s));
    const auto boxes = boxes_.boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].caption, "Error!");
    EXPECT_EQ(boxes[1].text.rfind("ORVA session failed: ", 0), 0u) << boxes[1].text;
    EXPECT_EQ(console().find("Number of Platforms"), std::string::npos);
}

}  // namespace
}  // namespace linktest
