#include "data/installeddata.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

std::string installedDataDirectoryOf(const std::string& programPath)
{
    const std::filesystem::path program(programPath);
    return (program.parent_path().parent_path() / "share" / "vkrsim").string();
}

std::string installedDataDirectory()
{
    if (const char* chosen = std::getenv("VKRSIM_DATA_DIR"); chosen && *chosen)
        return chosen;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    return installedDataDirectoryOf(program.string());
}
