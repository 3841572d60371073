#include "support/fuzzcorpus.h"

#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

namespace vkrsim::test {

std::vector<std::pair<std::string, std::string>> fuzzCorpus(const std::string& directory)
{
    std::vector<std::pair<std::string, std::string>> inputs;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(directory.c_str()), &closedir);
    if (!dir)
        return inputs;
    while (const dirent* entry = readdir(dir.get())) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream in(directory + "/" + entry->d_name, std::ios::binary);
        inputs.emplace_back(entry->d_name,
                            std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

}  // namespace vkrsim::test
