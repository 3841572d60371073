#pragma once
// Proxies made in the test process, with a chosen identity, version and attributes, so the
// callbacks can be driven without a range. The live tests use proxies of real remote objects.

#include "basicimpl/mission/missionbasic.h"
#include "basicimpl/platform/platformbasic.h"

#include <memory>
#include <sstream>
#include <string>
#include <utility>

namespace basicimpltest {

template <class Proxy, class Attributes>
ORVA::Middleware::ManagedPtr<Proxy> makeProxy(const ORVA::Middleware::SDOid& id, std::uint32_t version,
                                              const Attributes& attributes)
{
    using State = typename decltype(std::declval<const Proxy&>().getPublicationState())::element_type;
    return ORVA::Middleware::ManagedPtr<Proxy>(
        std::make_shared<Proxy>(id, std::make_shared<State>(id, version, attributes)));
}

// The middleware's own text of an identity.
inline std::string idText(const ORVA::Middleware::SDOid& id)
{
    std::ostringstream out;
    out << id;
    return out.str();
}

// The three event lines of one callback.
inline std::string eventLines(const std::string& header, const ORVA::Middleware::SDOid& id, std::uint32_t version)
{
    return header + "\nSDO ID " + idText(id) + "\nVersion " + std::to_string(version) + "\n";
}

}  // namespace basicimpltest
