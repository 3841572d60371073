#pragma once
// The event lines and marks that every basic-implementation callback writes. Private to the
// basic-implementation libraries.

#include <cstdint>
#include <ostream>

namespace basicimpl {

// Mark written at verbosity 1 instead of the event lines: one character, flushed, no line break.
enum class EventMark : char { Discovery = 'd', StateChange = 'c', Destruction = 'x' };

// Verbosity 2 and above: the header, "SDO ID " with the proxy's identity and "Version " with
// the version read from the proxy's current publication state, each line flushed. Verbosity 1:
// the mark. Verbosity 0: nothing. `readVersion` takes the publication state handle.
// Empty handles raise from their own operator->; nothing is caught here.
template <typename ProxyHandle, typename ReadVersion>
void writeEvent(std::ostream& out, std::uint32_t verbosity, const char* header, EventMark mark,
                const ProxyHandle& proxy, ReadVersion readVersion)
{
    if (verbosity >= 2) {
        out << header << std::endl;
        out << "SDO ID " << proxy->getSDOid() << std::endl;
        out << "Version " << readVersion(proxy->getPublicationState()) << std::endl;
    } else if (verbosity == 1) {
        out << static_cast<char>(mark) << std::flush;
    }
}

}  // namespace basicimpl
