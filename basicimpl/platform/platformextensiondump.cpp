// Attribute dump of ORVA::PlatformExtension, in model order.

#include "basicimpl/platform/platformextensiondump.h"

#include "basicimpl/common/dumpwriter.h"

namespace ORVA::PlatformExtension::BasicImpl::detail {

void writeAttributeDump(std::ostream& out, const PublicationStateHandle& state)
{
    basicimpl::DumpWriter dump(out);
    dump.number("this.ORVA_PlatformExtension_VersionCounter ", state->get_ORVA_PlatformExtension_VersionCounter());
    {
        // Local classes are read into a handle of their own, held while the members are read.
        const auto platformID = state->get_platformID();
        dump.heading("this.platformID ");
        dump.member("platformID.siteID ", platformID->get_siteID());
        dump.member("platformID.applicationID ", platformID->get_applicationID());
        dump.member("platformID.objectID ", platformID->get_objectID());
    }
    {
        [[maybe_unused]] const auto timeStamp = state->get_timeStamp();  // members not dumped
        dump.heading("this.timeStamp ");
    }
    dump.number("this.extensionTypeID ", state->get_extensionTypeID());
}

}  // namespace ORVA::PlatformExtension::BasicImpl::detail
