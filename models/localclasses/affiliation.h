#pragma once
// Affiliation of a platform, written and compared as its integer value.

#include <cstdint>

namespace ORVA::Affiliation {

enum Enum : std::int32_t { Unknown = 0, Friend = 1, Hostile = 2, Neutral = 3 };

}  // namespace ORVA::Affiliation
