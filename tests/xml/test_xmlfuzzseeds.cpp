// Replays the fuzzer's seed inputs through its checks, so every build keeps them passing.

#include "fuzz/xmlfuzzcheck.h"
#include "xmltesting.h"

#include <dirent.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class XmlFuzzSeeds : public xmltest::XmlTest {};

TEST_F(XmlFuzzSeeds, EverySeedPassesTheFuzzChecks)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(XML_FUZZ_CORPUS)) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] != '.')
                names.emplace_back(entry->d_name);
        }
        closedir(dir);
    }
    ASSERT_GE(names.size(), 5u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        std::ifstream in(std::string(XML_FUZZ_CORPUS) + "/" + name, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(bytes.empty());
        // Every option combination, not only the one the seed carries.
        for (int flags = 0; flags < 32; ++flags) {
            std::string input = bytes;
            input[0] = static_cast<char>(flags);
            checkXmlInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        }
    }
}

}  // namespace
