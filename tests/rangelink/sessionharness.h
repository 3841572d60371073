#pragma once
// Runs the real session thread inside a test: a private working directory with its own
// config.txt, standard output caught in a file that the test can read while the thread runs,
// message boxes recorded, and the range peers (execution manager, uutsim, rangemon) as real
// processes.

#include "stateblock/stateblock.h"
#include "rangelink/sessionthread.h"
#include "support/liverange.h"
#include "support/isolation.h"
#include "support/messageboxrecorder.h"

#include <gtest/gtest.h>

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
using namespace vkrsim::test;

class SessionHarness : public ::testing::Test {
protected:
    void SetUp() override
    {
        tempDir_ = std::make_unique<TempDir>("vkrsim-link");
        dir_ = tempDir_->path();
        char cwd[4096];
        oldCwd_ = ::getcwd(cwd, sizeof cwd);
        ASSERT_EQ(::chdir(dir_.c_str()), 0);
        stateBlock.stopSession = false;
        stateBlock.panDegrees = 0;
        stateBlock.tiltDegrees = 0;
        output_ = std::make_unique<ConsoleCapture>(dir_ + "/console.log");
    }
    void TearDown() override
    {
        stateBlock.stopSession = true;
        if (thread_.joinable())
            thread_.join();
        output_.reset();
        peers_.clear();
        ::chdir(oldCwd_.c_str());
        tempDir_.reset();
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
    // A range peer logging into the working directory (`log` empty: a file of its own elsewhere).
    ChildProcess& startPeer(const std::string& program, std::vector<std::string> args, const std::string& log = {})
    {
        peers_.push_back(vkrsim::test::startPeer(program, std::move(args), log.empty() ? log : dir_ + "/" + log));
        return *peers_.back().process;
    }
    std::string peerLog(const std::string& log) const { return readFile(dir_ + "/" + log); }

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
    std::unique_ptr<TempDir> tempDir_;
    std::unique_ptr<ConsoleCapture> output_;
    std::vector<Peer> peers_;
    std::thread thread_;
    std::atomic<bool> ended_{false};
};

}  // namespace linktest
