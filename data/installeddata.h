#pragma once
// Where an installed VKRsim keeps its installation data: <prefix>/share/vkrsim, found from the
// running program's own file (<prefix>/bin/<program>), so a moved prefix still works. The build
// tree has the same layout (bin/ beside share/vkrsim).

#include <string>

// The data folder for a program file at `programPath`: its folder's parent + "/share/vkrsim".
std::string installedDataDirectoryOf(const std::string& programPath);

// The data folder of the running program: VKRSIM_DATA_DIR when set and not empty (data kept
// elsewhere; tests hide the build tree's data with it), otherwise from /proc/self/exe; empty when
// that can't be read.
std::string installedDataDirectory();
