#pragma once
// The seed inputs of a fuzz target, for the unit tests that replay them in every build.

#include <string>
#include <utility>
#include <vector>

namespace vkrsim::test {

// Every file of `directory` (hidden ones excepted), as name and bytes, sorted by name.
std::vector<std::pair<std::string, std::string>> fuzzCorpus(const std::string& directory);

}  // namespace vkrsim::test
