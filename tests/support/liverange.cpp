#include "support/liverange.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace vkrsim::test {

std::string uniqueName(const std::string& prefix)
{
    static std::atomic<int> counter{0};
    std::string name = prefix;
    if (const auto* test = ::testing::UnitTest::GetInstance()->current_test_info())
        name += std::string(".") + test->test_suite_name() + "." + test->name();
    return name + "." + std::to_string(::getpid()) + "." + std::to_string(++counter);
}

TempDir::TempDir(const std::string& prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("TempDir: cannot make " + pattern);
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string tempPath(const std::string& stem) { return ::testing::TempDir() + uniqueName(stem); }

bool Peer::waitFor(const std::string& word, std::chrono::milliseconds timeout) const
{
    return eventually([&] { return text().find(word) != std::string::npos; }, timeout);
}

Peer startPeer(const std::string& program, std::vector<std::string> arguments, std::string log, bool mergeStderr)
{
    Peer peer;
    peer.log = log.empty() ? tempPath(program) : std::move(log);
    arguments.insert(arguments.begin(), builtProgram(program));
    peer.process = std::make_unique<ChildProcess>(arguments, peer.log, std::string(), mergeStderr);
    return peer;
}

Peer startManager(const std::string& execution, const std::string& initRef)
{
    std::vector<std::string> arguments{"--execution", execution};
    if (!initRef.empty())
        arguments.insert(arguments.end(), {"--init-ref", initRef});
    Peer manager = startPeer("orva-executionmanager", arguments);
    manager.waitFor("announcing");
    return manager;
}

ConsoleCapture::ConsoleCapture(std::string path) : path_(std::move(path))
{
    file_.open(path_, std::ios::out | std::ios::trunc);
    saved_ = std::cout.rdbuf(&file_);
}

ConsoleCapture::~ConsoleCapture() { std::cout.rdbuf(saved_); }

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

int count(const std::string& text, const std::string& word)
{
    int n = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++n;
    return n;
}

}  // namespace vkrsim::test
