#pragma once
// The picture feed's multicast group on port 2000, from the host text of the scene settings (a
// dotted IPv4 address or a host name). A resolved address is kept while the text stays the same,
// so a name is not looked up in every frame; a failed look-up is tried again at the next cycle
// (a name server that did not answer may answer now). Drawing thread only.

#include <ace/INET_Addr.h>

#include <string>

namespace sightview {

// Resolves `host` to an IPv4 address with the feed's port; false when it cannot.
bool lookUpFeedGroup(const std::string& host, ACE_INET_Addr& group);

class FeedGroup {
public:
    using Lookup = bool (*)(const std::string& host, ACE_INET_Addr& group);
    explicit FeedGroup(Lookup lookup = &lookUpFeedGroup) : lookup_(lookup) {}

    // True with `address()` set when `host` resolves (now or earlier).
    bool resolve(const std::string& host);
    const ACE_INET_Addr& address() const { return group_; }

private:
    Lookup lookup_;
    std::string resolvedHost_;  // the text `group_` was resolved from; empty: none yet
    bool resolved_ = false;
    ACE_INET_Addr group_;
};

}  // namespace sightview
