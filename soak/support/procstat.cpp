#include "soak/support/procstat.h"

#include <dirent.h>

#include <fstream>
#include <string>

namespace soak {

ProcessFigures processFigures(int pid)
{
    const std::string base = pid > 0 ? "/proc/" + std::to_string(pid) : std::string("/proc/self");
    ProcessFigures f;
    std::ifstream status(base + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:")
            status >> f.rssKb;
        else if (key == "Threads:")
            status >> f.threads;
        status.ignore(1 << 20, '\n');
    }
    if (DIR* d = ::opendir((base + "/fd").c_str())) {
        while (const dirent* e = ::readdir(d))
            f.fds += e->d_name[0] != '.';
        ::closedir(d);
        if (pid <= 0)
            --f.fds;  // the descriptor of the listing itself
    }
    return f;
}

}  // namespace soak
