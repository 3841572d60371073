#pragma once
// The init reference says where the range is:
//   ""                          DDS domain 0, the transport's defaults (multicast discovery)
//   "dds:DOMAIN"                DDS domain DOMAIN (0..230), defaults otherwise
//   "dds:DOMAIN@PEER[,PEER...]" unicast discovery with the given peers and the processes of this
//                               machine (no multicast); PEER is a host name or IPv4 address,
//                               optionally ":PORT"

#include "middleware/export.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ORVA::Middleware {

struct ORVA_MIDDLEWARE_EXPORT InitReference {
    std::uint32_t domain = 0;
    std::vector<std::string> peers;  // empty: multicast discovery

    // Raises Exception with the offending text when `text` does not follow the syntax above.
    static InitReference parse(const std::string& text);
};

}  // namespace ORVA::Middleware
