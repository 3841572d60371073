// VKRsim as the operator runs it, on the X display, driven with xdotool: every way out removes
// the exchange directory, and OK ends the program although the feed asks for a box in every
// frame.

#include "support/childprocess.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using vkrsim::test::builtProgram;
using vkrsim::test::ChildProcess;

std::string run(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        pclose(pipe);
    }
    return out;
}

std::string ownerLine(long pid, unsigned long long ticks)
{
    return std::to_string(pid) + " " + fs::read_symlink("/proc/self/ns/pid").string() + " " +
           std::to_string(ticks) + "\n";
}

unsigned long long ownStartTicks()
{
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 1));
    std::string field;
    for (int i = 3; i <= 22; ++i)
        fields >> field;
    return std::stoull(field);
}

class ProgramExit : public testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY") || run("command -v xdotool").empty())
            GTEST_SKIP() << "needs an X display and xdotool";
        char pattern[] = "/tmp/programexit-XXXXXX";
        runtime_ = mkdtemp(pattern);
        fs::create_directory(runtime_ + "/work");
    }
    void TearDown() override
    {
        if (!runtime_.empty())
            fs::remove_all(runtime_);
    }

    void writeScene(const std::string& group)
    {
        std::ofstream(runtime_ + "/work/SceneGeneratorconfig.xml")
            << "<MGXML><multicast_address>" << group << "</multicast_address><modelpath><path>"
            << VKRSIM_DATA_DIR << "</path></modelpath></MGXML>\n";
    }

    // Starts VKRsim with its runtime directory here and waits for its dialog.
    std::unique_ptr<ChildProcess> start()
    {
        setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        auto program = std::make_unique<ChildProcess>(std::vector<std::string>{builtProgram("VKRsim")},
                                                      runtime_ + "/program.log", runtime_ + "/work", true);
        unsetenv("XDG_RUNTIME_DIR");
        window_ = run("timeout 20 xdotool search --sync --onlyvisible --pid " + std::to_string(program->pid()) +
                      " --name '^VKRsim$' | head -n1");
        while (!window_.empty() && window_.back() == '\n')
            window_.pop_back();
        EXPECT_FALSE(window_.empty()) << vkrsim::test::readFile(runtime_ + "/program.log");
        return program;
    }

    // Clicks the dialog at a point given in its dialog units (client 320 x 190).
    void clickDialog(double x, double y)
    {
        std::istringstream geometry(run("xdotool getwindowgeometry --shell " + window_));
        std::string line;
        int width = 0, height = 0;
        while (std::getline(geometry, line)) {
            if (line.rfind("WIDTH=", 0) == 0)
                width = std::stoi(line.substr(6));
            if (line.rfind("HEIGHT=", 0) == 0)
                height = std::stoi(line.substr(7));
        }
        ASSERT_GT(width, 0);
        // The sight window (and, without a window manager, a box) may cover the dialog: the
        // operator brings it to the front first.
        run("xdotool windowraise " + window_);
        run("xdotool mousemove --window " + window_ + " " + std::to_string(int(x * width / 320)) + " " +
            std::to_string(int(y * height / 190)) + " click 1");
    }
    void pressStart() { clickDialog(43, 18.5); }
    void pressOk() { clickDialog(288, 15); }

    int exchangeDirectories() const
    {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(runtime_))
            count += entry.path().filename().string().rfind("vkrsim-", 0) == 0;
        return count;
    }

    std::string runtime_;
    std::string window_;
};

// The feed cannot join its group (127.0.0.1 is no group) and asks for a box in every frame; OK
// still ends the program. Directories of killed runs go at the start; a live owner's stays.
TEST_F(ProgramExit, OkEndsTheProgramWhileTheMulticastBoxKeepsComing)
{
    writeScene("127.0.0.1");
    const pid_t dead = fork();
    if (dead == 0)
        _exit(0);
    waitpid(dead, nullptr, 0);
    fs::create_directory(runtime_ + "/vkrsim-killed");
    std::ofstream(runtime_ + "/vkrsim-killed/owner") << ownerLine(dead, 1);
    fs::create_directory(runtime_ + "/vkrsim-living");
    std::ofstream(runtime_ + "/vkrsim-living/owner") << ownerLine(getpid(), ownStartTicks());

    auto program = start();
    EXPECT_FALSE(fs::exists(runtime_ + "/vkrsim-killed"));
    EXPECT_TRUE(fs::exists(runtime_ + "/vkrsim-living"));
    pressStart();  // the dialog then waits 5 s
    EXPECT_TRUE(vkrsim::test::eventually([&] { return exchangeDirectories() == 2; }, 15s));
    std::this_thread::sleep_for(7s);  // the box is up by now
    // The dialog and the box at least.
    const std::string windows = run("xdotool search --onlyvisible --pid " + std::to_string(program->pid()));
    EXPECT_GE(std::count(windows.begin(), windows.end(), '\n'), 2) << windows;
    pressOk();
    const auto status = program->wait(8s);
    ASSERT_TRUE(status.has_value()) << vkrsim::test::readFile(runtime_ + "/program.log");
    EXPECT_EQ(*status, 0);
    EXPECT_EQ(exchangeDirectories(), 1);
    EXPECT_TRUE(fs::exists(runtime_ + "/vkrsim-living"));
}

// With no picture sender the render thread waits in its frame; Ctrl-C and Escape both end the
// program with the directory removed.
TEST_F(ProgramExit, InterruptAndCancelRemoveTheExchangeDirectory)
{
    writeScene("239.255.42.9");
    struct Way {
        const char* name;
        int status;
    };
    for (const Way& way : {Way{"SIGINT", 128 + SIGINT}, Way{"Escape", 0}}) {
        SCOPED_TRACE(way.name);
        auto program = start();
        pressStart();
        ASSERT_TRUE(vkrsim::test::eventually([&] { return exchangeDirectories() == 1; }, 15s));
        std::this_thread::sleep_for(6s);  // past the 5 s of Start VKR
        if (way.status != 0)
            program->signal(SIGINT);
        else
            run("xdotool windowfocus --sync " + window_ + " key Escape");
        const auto status = program->wait(8s);
        ASSERT_TRUE(status.has_value()) << vkrsim::test::readFile(runtime_ + "/program.log");
        EXPECT_EQ(*status, way.status);
        EXPECT_EQ(exchangeDirectories(), 0);
    }
}

}  // namespace
