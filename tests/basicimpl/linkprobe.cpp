// Lists the shared objects loaded into this process, one path a line. Built three times: copying
// only the platform library's link-forcing integer, only the mission library's, or nothing,
// always linked with --as-needed, so that a library is loaded only if the copy asks for it.

#include <link.h>

#include <cstdint>
#include <cstdio>

#if defined(PROBE_PLATFORM)
#include "basicimpl/platform/linkforce.h"
namespace {
[[maybe_unused]] volatile std::int32_t linked = basicImpl_ORVA_Platform_v3_1_forceThisLibraryToBeLinked;
}
#elif defined(PROBE_MISSION)
#include "basicimpl/mission/linkforce.h"
namespace {
[[maybe_unused]] volatile std::int32_t linked = basicImpl_HALC_VKRsim_v4_forceThisLibraryToBeLinked;
}
#endif

int main()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void*) {
            if (info->dlpi_name && info->dlpi_name[0])
                std::printf("%s\n", info->dlpi_name);
            return 0;
        },
        nullptr);
    return 0;
}
