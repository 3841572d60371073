#include "sightview/exchangedirectory.h"

#include <osgDB/FileUtils>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Owns the directory for the life of the process; removing it at exit is best effort.
class PrivateDirectory {
public:
    PrivateDirectory()
    {
        // Memory-backed when possible: on ext4, rewriting a truncated file forces its blocks out
        // at close, which costs more than the rest of a picture's cycle.
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        std::string base = "/tmp";
        if (runtime && *runtime && fs::is_directory(runtime))
            base = runtime;
        else if (::access("/dev/shm", W_OK | X_OK) == 0)
            base = "/dev/shm";
        std::string pattern = base + "/vkrsim-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        // mkdtemp creates the directory with mode 0700 under a name nobody else can have chosen.
        if (::mkdtemp(name.data()))
            path_ = name.data();
        else
            std::cerr << "exchangeDirectory - cannot create " << pattern << std::endl;
    }
    ~PrivateDirectory()
    {
        if (!path_.empty()) {
            std::error_code ec;
            fs::remove_all(path_, ec);
        }
    }
    PrivateDirectory(const PrivateDirectory&) = delete;
    PrivateDirectory& operator=(const PrivateDirectory&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

const std::string& exchangeDirectory()
{
    static const PrivateDirectory directory;
    return directory.path();
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
