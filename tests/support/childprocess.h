#pragma once
// A program started by a test, ended by its own process id when the handle goes.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace vkrsim::test {

// Full path of a program built into the build tree's bin/ folder.
std::string builtProgram(const std::string& name);
// The build tree's bin/ folder.
std::string builtProgramDir();

class ChildProcess {
public:
    // Starts `argv[0]` with `argv`; standard output (and standard error when `mergeStderr`)
    // goes to `outputFile` when it is not empty, else is inherited. `workingDirectory` empty:
    // the test's own.
    ChildProcess(std::vector<std::string> argv, std::string outputFile = {},
                 std::string workingDirectory = {}, bool mergeStderr = false);
    ~ChildProcess();  // SIGTERM, then SIGKILL after 3 s, if still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    int pid() const { return pid_; }
    bool running();
    void signal(int signo);
    // Exit status (or 128 + signal) once the child ended within `timeout`, else nothing.
    std::optional<int> wait(std::chrono::milliseconds timeout);
    // SIGTERM, wait up to `grace`, then SIGKILL; returns the exit status.
    int stop(std::chrono::milliseconds grace = std::chrono::seconds(3));

private:
    int pid_ = -1;
    std::optional<int> status_;
};

// Whole content of a file ("" when missing).
std::string readFile(const std::string& path);

// Polls `predicate` every 20 ms until it holds or `timeout` passes; returns its last result.
template <typename Predicate>
bool eventually(Predicate predicate, std::chrono::milliseconds timeout);

}  // namespace vkrsim::test

#include <thread>

template <typename Predicate>
bool vkrsim::test::eventually(Predicate predicate, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!predicate()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return predicate();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
