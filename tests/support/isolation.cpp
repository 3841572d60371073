#include "support/isolation.h"

#include <net/if.h>

#include <string>
#include <vector>

namespace vkrsim::test {

::testing::AssertionResult networkIsIsolated()
{
    // Asked of the kernel for this process's own network namespace (sysfs may still show the
    // namespace it was mounted in).
    std::vector<std::string> interfaces;
    if (struct if_nameindex* list = if_nameindex()) {
        for (struct if_nameindex* i = list; i->if_index != 0; ++i)
            interfaces.emplace_back(i->if_name);
        if_freenameindex(list);
    }
    if (interfaces.size() == 1 && interfaces.front() == "lo")
        return ::testing::AssertionSuccess();
    std::string listed;
    for (const auto& name : interfaces)
        listed += " " + name;
    return ::testing::AssertionFailure() << "network interfaces besides loopback:" << listed;
}

}  // namespace vkrsim::test
