#include "support/isolation.h"

#include <dirent.h>

#include <string>
#include <vector>

namespace vkrsim::test {

::testing::AssertionResult networkIsIsolated()
{
    std::vector<std::string> interfaces;
    if (DIR* dir = opendir("/sys/class/net")) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                interfaces.push_back(name);
        }
        closedir(dir);
    }
    if (interfaces.size() == 1 && interfaces.front() == "lo")
        return ::testing::AssertionSuccess();
    std::string listed;
    for (const auto& name : interfaces)
        listed += " " + name;
    return ::testing::AssertionFailure() << "network interfaces besides loopback:" << listed;
}

}  // namespace vkrsim::test
