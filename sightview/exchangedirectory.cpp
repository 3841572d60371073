#include "sightview/exchangedirectory.h"

#include "desktop/processexit.h"

#include <osgDB/FileUtils>

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <system_error>
#include <vector>

namespace sightview {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPrefix = "vkrsim-";
constexpr std::size_t kRandomPart = 6;  // the XXXXXX of mkdtemp
constexpr const char* kOwnerFile = "owner";

// Identity of a process that survives pid reuse: its pid, its pid namespace and its start time
// (clock ticks after boot), as "<pid> <namespace> <start>".
struct ProcessIdentity {
    long pid = 0;
    std::string pidNamespace;
    unsigned long long startTicks = 0;
};

std::string ownPidNamespace()
{
    std::error_code ec;
    const fs::path link = fs::read_symlink("/proc/self/ns/pid", ec);
    return ec ? std::string("-") : link.string();
}

// Start time of `pid`; false when the process does not exist (or /proc cannot tell).
bool processStartTicks(long pid, unsigned long long& ticks)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return false;
    // The command name (field 2) may hold blanks and parentheses: count from its last ')'.
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos)
        return false;
    std::istringstream fields(line.substr(close + 1));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i)
        if (i == 22)
            return !(std::istringstream(field) >> ticks).fail();
    return false;
}

bool ownerIsGone(const ProcessIdentity& owner)
{
    if (owner.pid <= 0 || owner.pidNamespace != ownPidNamespace())
        return false;  // another namespace's pid says nothing here
    if (owner.pid == static_cast<long>(::getpid()))
        return false;
    unsigned long long ticks = 0;
    if (processStartTicks(owner.pid, ticks))
        return ticks != owner.startTicks;  // the pid now belongs to a later process
    // No /proc entry: gone, unless /proc is not there at all and the pid still answers.
    return ::kill(static_cast<pid_t>(owner.pid), 0) == -1 && errno == ESRCH;
}

bool readOwner(const std::string& dir, ProcessIdentity& owner)
{
    std::ifstream in(dir + "/" + kOwnerFile);
    return static_cast<bool>(in >> owner.pid >> owner.pidNamespace >> owner.startTicks);
}

// Written under another name and renamed, so a reader never sees half an owner file.
void writeOwner(const std::string& dir)
{
    unsigned long long ticks = 0;
    processStartTicks(static_cast<long>(::getpid()), ticks);
    const std::string temporary = dir + "/" + kOwnerFile + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << ::getpid() << ' ' << ownPidNamespace() << ' ' << ticks << '\n';
        if (!out.flush())
            return;
    }
    std::error_code ec;
    fs::rename(temporary, dir + "/" + kOwnerFile, ec);
}

// A render thread may put a new exchange file into the directory while it is emptied: try again.
void removeTree(const std::string& path)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        std::error_code ec;
        fs::remove_all(path, ec);
        if (!fs::exists(path, ec))
            return;
    }
}

void removeMadeDirectory();

// Owns the directory for the life of the process.
class PrivateDirectory {
public:
    PrivateDirectory()
    {
        std::string pattern = exchangeDirectoryBase() + "/" + kPrefix + "XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        // mkdtemp creates the directory with mode 0700 under a name nobody else can have chosen.
        if (::mkdtemp(name.data())) {
            path_ = name.data();
            writeOwner(path_);
            desktop::addLeaveCleanup(&removeMadeDirectory);
        } else {
            std::cerr << "exchangeDirectory - cannot create " << pattern << std::endl;
        }
    }
    ~PrivateDirectory() { remove(); }
    PrivateDirectory(const PrivateDirectory&) = delete;
    PrivateDirectory& operator=(const PrivateDirectory&) = delete;

    // Empty once removed.
    const std::string& path() const
    {
        static const std::string none;
        return removed_.load(std::memory_order_acquire) ? none : path_;
    }

    void remove()
    {
        if (!path_.empty() && !removed_.exchange(true, std::memory_order_acq_rel))
            removeTree(path_);
    }

private:
    std::string path_;
    std::atomic<bool> removed_{false};
};

std::atomic<PrivateDirectory*> madeDirectory{nullptr};

PrivateDirectory& privateDirectory()
{
    static PrivateDirectory directory;
    madeDirectory.store(&directory, std::memory_order_release);
    return directory;
}

void removeMadeDirectory()
{
    if (PrivateDirectory* directory = madeDirectory.load(std::memory_order_acquire))
        directory->remove();
}

}  // namespace

std::string exchangeDirectoryBase()
{
    // Memory-backed when possible: on ext4, rewriting a truncated file forces its blocks out
    // at close, which costs more than the rest of a picture's cycle.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime && fs::is_directory(runtime))
        return runtime;
    if (::access("/dev/shm", W_OK | X_OK) == 0)
        return "/dev/shm";
    return "/tmp";
}

const std::string& exchangeDirectory()
{
    return privateDirectory().path();
}

void removeExchangeDirectory()
{
    removeMadeDirectory();
}

int removeStaleExchangeDirectories(const std::string& base)
{
    const std::string where = base.empty() ? exchangeDirectoryBase() : base;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(where.c_str()), &::closedir);
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name.size() != std::char_traits<char>::length(kPrefix) + kRandomPart || name.rfind(kPrefix, 0) != 0)
            continue;
        const std::string path = where + "/" + name;
        struct stat info {};
        // A real directory of this user only; never follow a link someone placed there.
        if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
            continue;
        ProcessIdentity owner;
        if (readOwner(path, owner) && ownerIsGone(owner)) {
            removeTree(path);
            ++removed;
        }
    }
    return removed;
}

std::string driveBPath(const std::string& windowsName)
{
    if (windowsName.size() < 3 || (windowsName[0] != 'b' && windowsName[0] != 'B') || windowsName[1] != ':' ||
        windowsName[2] != '\\')
        return windowsName;
    const std::string& dir = exchangeDirectory();
    if (dir.empty())
        return {};
    std::string rest = windowsName.substr(3);
    for (char& c : rest)
        if (c == '\\')
            c = '/';
    return dir + "/" + rest;
}

bool seedFirstPanelPicture()
{
    const std::string target = driveBPath("b:\\mg.jpg");
    if (target.empty())
        return false;
    std::error_code ec;
    if (fs::exists(target, ec))
        return true;
    const std::string source = osgDB::findDataFile("mg.jpg");
    if (source.empty())
        return false;
    return fs::copy_file(source, target, fs::copy_options::skip_existing, ec) || fs::exists(target, ec);
}

}  // namespace sightview
