// A range over two machines: two network namespaces of our own joined by a veth pair, made
// inside the suite's private network. Machine A runs the execution manager, uutsim and a
// monitor; machine B a second uutsim and a monitor. Each monitor must see every object of both
// machines, with multicast discovery and with unicast peers that list only the other machine.

#include "support/liverange.h"
#include "support/isolation.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using vkrsim::test::ChildProcess;

std::string ipProgram()
{
    for (const char* path : {"/usr/sbin/ip", "/sbin/ip", "/usr/bin/ip", "/bin/ip"})
        if (access(path, X_OK) == 0)
            return path;
    return {};
}

bool run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// Two namespaces, each with loopback and one end of the veth pair, multicast routed to it.
// The addresses exist only there. Both namespaces (and the pair with them) go with the object.
class TwoMachines {
public:
    TwoMachines()
    {
        ip_ = ipProgram();
        if (ip_.empty()) {
            whyNot_ = "the ip program (iproute2) is not installed";
            return;
        }
        const std::string id = std::to_string(getpid());
        names_ = {"vkrsimA" + id, "vkrsimB" + id};
        const std::string ends[2] = {"vkra" + id, "vkrb" + id};
        for (const auto& name : names_) {
            if (!run(ip_ + " netns add " + name)) {
                whyNot_ = "cannot make network namespaces here (needs root, as under scripts/isolated run as root)";
                return;
            }
            made_.push_back(name);
        }
        // Both ends are made inside their namespaces, so the suite's own namespace, which other
        // tests check holds loopback only, never shows them.
        bool ok = run(ip_ + " link add " + ends[0] + " netns " + names_[0] + " type veth peer name " + ends[1] +
                      " netns " + names_[1]);
        for (int m = 0; m < 2 && ok; ++m) {
            const std::string in = ip_ + " -n " + names_[m] + " ";
            ok = run(in + "addr add " + address(m) + "/24 dev " + ends[m]) && run(in + "link set lo up") &&
                 run(in + "link set " + ends[m] + " up multicast on") &&
                 run(in + "route add 224.0.0.0/4 dev " + ends[m]);
        }
        if (!ok)
            whyNot_ = "cannot join the two namespaces with a veth pair";
    }
    ~TwoMachines()
    {
        for (const auto& name : made_)
            run(ip_ + " netns del " + name);
    }
    TwoMachines(const TwoMachines&) = delete;
    TwoMachines& operator=(const TwoMachines&) = delete;

    const std::string& whyNot() const { return whyNot_; }
    static std::string address(int machine) { return machine == 0 ? "10.77.0.1" : "10.77.0.2"; }

    // `program` of the build with `arguments` on `machine` (0 is A, 1 is B), standard output and
    // standard error to `output`.
    std::unique_ptr<ChildProcess> start(int machine, const std::string& program, std::vector<std::string> arguments,
                                        const std::string& output) const
    {
        std::vector<std::string> argv{ip_, "netns", "exec", names_[machine], vkrsim::test::builtProgram(program)};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return std::make_unique<ChildProcess>(argv, output, std::string(), true);
    }

private:
    std::string ip_;
    std::vector<std::string> names_;
    std::vector<std::string> made_;
    std::string whyNot_;
};

// The identities of the Platform objects that a monitor at verbosity 2 has discovered.
std::set<std::string> discoveredPlatforms(const std::string& output)
{
    static const std::regex discovery("ORVA::Platform::BasicImpl DiscoveryCallbackImpl execute\\(\\)\nSDO ID (\\S+)\n");
    const std::string text = vkrsim::test::readFile(output);
    std::set<std::string> ids;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), discovery); it != std::sregex_iterator(); ++it)
        ids.insert((*it)[1]);
    return ids;
}

// One execution across the two machines, `initRef[m]` being machine m's init reference ("" for
// multicast discovery): both monitors must see the same three objects, and every process must
// end cleanly (a process that could not join exits 1).
void expectBothMachinesSeeAllObjects(const TwoMachines& machines, const std::string initRef[2])
{
    const std::string execution = vkrsim::test::uniqueName("TwoMachines");
    const auto arguments = [&](int m, std::vector<std::string> more) {
        std::vector<std::string> all{"--execution", execution};
        if (!initRef[m].empty())
            all.insert(all.end(), {"--init-ref", initRef[m]});
        all.insert(all.end(), more.begin(), more.end());
        return all;
    };
    const std::string base = vkrsim::test::tempPath("twomachines") + ".";
    const std::string managerOut = base + "manager", uutOut[2] = {base + "uutsimA", base + "uutsimB"},
                      monitorOut[2] = {base + "rangemonA", base + "rangemonB"};

    // Declared first, ended last: the others leave the execution before it goes.
    const auto manager = machines.start(0, "orva-executionmanager", arguments(0, {}), managerOut);
    const auto monitorA = machines.start(0, "rangemon", arguments(0, {"--verbosity", "2"}), monitorOut[0]);
    const auto monitorB = machines.start(1, "rangemon", arguments(1, {"--verbosity", "2"}), monitorOut[1]);
    const auto uutsimA = machines.start(0, "uutsim", arguments(0, {"--count", "2"}), uutOut[0]);
    const auto uutsimB = machines.start(1, "uutsim", arguments(1, {"--count", "1"}), uutOut[1]);

    const bool allSeen = vkrsim::test::eventually(
        [&] { return discoveredPlatforms(monitorOut[0]).size() >= 3 && discoveredPlatforms(monitorOut[1]).size() >= 3; },
        10s);
    const auto seenA = discoveredPlatforms(monitorOut[0]);
    const auto seenB = discoveredPlatforms(monitorOut[1]);
    EXPECT_TRUE(allSeen) << "monitor on A:\n"
                         << vkrsim::test::readFile(monitorOut[0]) << "\nmonitor on B:\n"
                         << vkrsim::test::readFile(monitorOut[1]) << "\nuutsim on A:\n"
                         << vkrsim::test::readFile(uutOut[0]) << "\nuutsim on B:\n"
                         << vkrsim::test::readFile(uutOut[1]);
    EXPECT_EQ(seenA.size(), 3u);
    EXPECT_EQ(seenA, seenB);

    for (ChildProcess* process : {uutsimB.get(), uutsimA.get(), monitorB.get(), monitorA.get(), manager.get()})
        EXPECT_EQ(process->stop(), 0);
    for (const auto& file : {managerOut, uutOut[0], uutOut[1], monitorOut[0], monitorOut[1]})
        std::remove(file.c_str());
}

TEST(TwoMachines, EveryProcessSeesTheObjectsOfBothMachines)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const TwoMachines machines;
    if (!machines.whyNot().empty())
        GTEST_SKIP() << machines.whyNot();
    {
        SCOPED_TRACE("multicast discovery");
        const std::string initRef[2] = {"", ""};
        expectBothMachinesSeeAllObjects(machines, initRef);
    }
    {
        // A range engineer lists the other machines only; the processes of one machine must
        // still find each other.
        SCOPED_TRACE("unicast peers: each machine lists the other");
        const std::string initRef[2] = {"dds:0@" + TwoMachines::address(1), "dds:0@" + TwoMachines::address(0)};
        expectBothMachinesSeeAllObjects(machines, initRef);
    }
}

}  // namespace
