#include "sightview/feedgroup.h"

#include "sightview/snapimage.h"

#include <sys/socket.h>

namespace sightview {

bool lookUpFeedGroup(const std::string& host, ACE_INET_Addr& group)
{
    return !host.empty() && group.set(kFeedPort, host.c_str(), 1, AF_INET) == 0;
}

bool FeedGroup::resolve(const std::string& host)
{
    if (resolved_ && host == resolvedHost_)
        return true;
    ACE_INET_Addr looked;
    resolved_ = lookup_(host, looked);
    if (resolved_) {
        group_ = looked;
        resolvedHost_ = host;
    }
    return resolved_;
}

}  // namespace sightview
