#include "support/childprocess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace vkrsim::test {

std::string builtProgramDir() { return VKRSIM_BIN_DIR; }

std::string builtProgram(const std::string& name) { return builtProgramDir() + "/" + name; }

ChildProcess::ChildProcess(std::vector<std::string> argv, std::string outputFile,
                           std::string workingDirectory, bool mergeStderr)
{
    if (argv.empty())
        throw std::invalid_argument("ChildProcess: empty argument vector");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!outputFile.empty()) {
        posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (mergeStderr)
            posix_spawn_file_actions_adddup2(&actions, 1, 2);
    }
    if (!workingDirectory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
    std::vector<char*> args;
    for (auto& a : argv)
        args.push_back(a.data());
    args.push_back(nullptr);
    const int rc = posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("ChildProcess: cannot start " + argv[0]);
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0 && !status_)
        stop();
}

bool ChildProcess::running() { return !wait(std::chrono::milliseconds(0)); }

void ChildProcess::signal(int signo)
{
    if (pid_ > 0 && !status_)
        ::kill(pid_, signo);
}

std::optional<int> ChildProcess::wait(std::chrono::milliseconds timeout)
{
    if (status_)
        return status_;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int st = 0;
        const pid_t r = ::waitpid(pid_, &st, WNOHANG);
        if (r == pid_) {
            status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
            return status_;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

int ChildProcess::stop(std::chrono::milliseconds grace)
{
    signal(SIGTERM);
    if (auto st = wait(grace))
        return *st;
    signal(SIGKILL);
    return wait(std::chrono::seconds(10)).value_or(-1);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace vkrsim::test
