#pragma once
// Runs the real session thread inside a test: a private working directory with its own
// config.txt, standard output caught in a file that the test can read while the thread runs,
// message boxes recorded, and the range peers (execution manager, uutsim, rangemon) as real
// processes.

#include "console/stateblock.h"
#include "rangelink/sessionthread.h"
#include "support/childprocess.h"
#include "support/isolation.h"
#include "support/messageboxrecorder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace linktest {

using namespace std::chrono_literals;
using vkrsim::test::ChildProcess;

inline std::string uniqueName(const char* what)
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    static int counter = 0;
    return std::string(what) + "." + info->name() + "." + std::to_string(::getpid()) + "." + std::to_string(++counter);
}

// The console stream (std::cout, which the session thread and the callbacks write) goes to a
// file while this lives; every line is flushed, so the file can be read at any time. The test
// framework's own messages stay on the real standard output.
class StdoutToFile {
public:
    explicit StdoutToFile(std::string path) : path_(std::move(path))
    {
        file_.open(path_, std::ios::out | std::ios::trunc);
        saved_ = std::cout.rdbuf(&file_);
    }
    ~StdoutToFile()
    {
        std::cout.rdbuf(saved_);
    }
    std::string text() const { return vkrsim::test::readFile(path_); }

private:
    std::string path_;
    std::filebuf file_;
    std::streambuf* saved_ = nullptr;
};

inline std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

inline int count(const std::string& text, const std::string& word)
{
    int n = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++n;
    return n;
}

class SessionHarness : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/vkrsim-link-XXXXXX";
        dir_ = ::mkdtemp(pattern);
        char cwd[4096];
        oldCwd_ = ::getcwd(cwd, sizeof cwd);
        ASSERT_EQ(::chdir(dir_.c_str()), 0);
        stateBlock.stopSession = false;
        stateBlock.panDegrees = 0;
        stateBlock.tiltDegrees = 0;
        output_ = std::make_unique<StdoutToFile>(dir_ + "/console.log");
    }
    void TearDown() override
    {
        stateBlock.stopSession = true;
        if (thread_.joinable())
            thread_.join();
        output_.reset();
        peers_.clear();
        ::chdir(oldCwd_.c_str());
        std::system(("rm -rf '" + dir_ + "'").c_str());
    }

    void writeConfig(const std::string& text)
    {
        std::ofstream(dir_ + "/config.txt") << text;
    }
    void writeConfigFor(const std::string& execution)
    {
        writeConfig("ORVA.executionName=" + execution + "\nORVA.sessionName=SightBench\nORVA.LTP_latitude=0\n"
                    "ORVA.LTP_longitude=0\nORVA.LTP_azimuth=0\nORVA.LTP_HeightOffset=0\n");
    }
    ChildProcess& startPeer(const std::string& program, std::vector<std::string> args, const std::string& log = {})
    {
        args.insert(args.begin(), vkrsim::test::builtProgram(program));
        peers_.push_back(std::make_unique<ChildProcess>(args, log.empty() ? std::string() : dir_ + "/" + log));
        return *peers_.back();
    }
    std::string peerLog(const std::string& log) const { return vkrsim::test::readFile(dir_ + "/" + log); }

    // Join ORVA: the session thread, started as the dialog starts it.
    void join()
    {
        ended_ = false;
        thread_ = std::thread([this] {
            sessionThread(nullptr);
            ended_ = true;
        });
    }
    bool ended() const { return ended_; }
    // Resign: the running cycle finishes and the thread leaves; false when it did not end in time.
    bool resignAndWait(std::chrono::seconds timeout = 20s)
    {
        stateBlock.stopSession = true;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!ended_) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(10ms);
        }
        thread_.join();
        return true;
    }
    bool waitForConsole(const std::string& word, int times, std::chrono::milliseconds timeout = 20s)
    {
        return vkrsim::test::eventually([&] { return count(console(), word) >= times; }, timeout);
    }
    std::string console() const { return output_->text(); }

    vkrsim::test::MessageBoxRecorder boxes_;
    std::string dir_;

private:
    std::string oldCwd_;
    std::unique_ptr<StdoutToFile> output_;
    std::vector<std::unique_ptr<ChildProcess>> peers_;
    std::thread thread_;
    std::atomic<bool> ended_{false};
};

}  // namespace linktest
