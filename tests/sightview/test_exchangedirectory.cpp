#include "sightview/exchangedirectory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace sightview;

namespace {

TEST(ExchangeDirectory, IsPrivateToUserAndProcess)
{
    const std::string& dir = exchangeDirectory();
    ASSERT_FALSE(dir.empty());
    struct stat st {};
    ASSERT_EQ(::stat(dir.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, ::getuid());
    EXPECT_EQ(&exchangeDirectory(), &dir);

    // Another process gets a directory of its own.
    const std::string cmd = std::string(VKRSIM_BIN_DIR) + "/test_sightview_units --gtest_filter=ExchangeDirectory.PrintsItsPath";
    std::string output;
    if (FILE* child = ::popen(cmd.c_str(), "r")) {
        char line[512];
        while (std::fgets(line, sizeof line, child))
            if (std::string(line).rfind("exchange: ", 0) == 0)
                output = std::string(line + 10, std::strlen(line + 10) - 1);
        ::pclose(child);
    }
    EXPECT_FALSE(output.empty());
    EXPECT_NE(output, dir);
}

TEST(ExchangeDirectory, PrintsItsPath)
{
    std::printf("\nexchange: %s\n", exchangeDirectory().c_str());
    EXPECT_FALSE(exchangeDirectory().empty());
}

TEST(ExchangeDirectory, MapsDriveBNamesIntoIt)
{
    const std::string& dir = exchangeDirectory();
    struct Row {
        const char* in;
        std::string out;
    };
    const Row rows[] = {
        {"b:\\image2.jpg", dir + "/image2.jpg"},
        {"B:\\mg.jpg", dir + "/mg.jpg"},
        {"b:\\pictures\\mg.jpg", dir + "/pictures/mg.jpg"},
        {"c:\\image2.jpg", "c:\\image2.jpg"},
        {"mg.jpg", "mg.jpg"},
        {"b:", "b:"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.in);
        EXPECT_EQ(driveBPath(row.in), row.out);
    }
}

}  // namespace
