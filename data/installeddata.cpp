#include "data/installeddata.h"

#include <filesystem>
#include <system_error>

std::string installedDataDirectoryOf(const std::string& programPath)
{
    const std::filesystem::path program(programPath);
    return (program.parent_path().parent_path() / "share" / "vkrsim").string();
}

std::string installedDataDirectory()
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    return installedDataDirectoryOf(program.string());
}
