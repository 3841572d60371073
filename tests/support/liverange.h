#pragma once
// The one harness of the tests (and benchmarks) that run against a live range: names no other
// test uses, private folders, range peers as child processes with their output in a file, and the
// console stream caught in a file.

#include "support/childprocess.h"

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace vkrsim::test {

// "<prefix>.<test suite>.<test>.<pid>.<n>" inside a test, "<prefix>.<pid>.<n>" outside one: a
// name no other test or run of the suite uses, for executions and files alike.
std::string uniqueName(const std::string& prefix);

// A fresh private folder, removed with everything in it when the object goes.
class TempDir {
public:
    explicit TempDir(const std::string& prefix = "vkrsim-test");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// A file name of its own in the test's temporary folder.
std::string tempPath(const std::string& stem);

// A range peer: a built program whose standard output goes to `log`.
struct Peer {
    std::string log;
    std::unique_ptr<ChildProcess> process;

    std::string text() const { return readFile(log); }
    bool waitFor(const std::string& word, std::chrono::milliseconds timeout = std::chrono::seconds(15)) const;
};

// Starts the built `program` with `arguments`; an empty `log` gets a fresh temporary file.
// `mergeStderr` sends standard error to the same log.
Peer startPeer(const std::string& program, std::vector<std::string> arguments, std::string log = {},
               bool mergeStderr = false);

// An execution manager for `execution`, returned once it announces the execution.
Peer startManager(const std::string& execution, const std::string& initRef = {});

// std::cout (which the session thread and the callbacks write) goes to `path` while this lives;
// every line is flushed, so the file can be read at any time. The test framework's own messages
// stay on the real standard output.
class ConsoleCapture {
public:
    explicit ConsoleCapture(std::string path);
    ~ConsoleCapture();
    ConsoleCapture(const ConsoleCapture&) = delete;
    ConsoleCapture& operator=(const ConsoleCapture&) = delete;
    std::string text() const { return readFile(path_); }

private:
    std::string path_;
    std::filebuf file_;
    std::streambuf* saved_ = nullptr;
};

std::vector<std::string> lines(const std::string& text);
// How often `word` occurs in `text` (overlaps counted).
int count(const std::string& text, const std::string& word);

}  // namespace vkrsim::test
