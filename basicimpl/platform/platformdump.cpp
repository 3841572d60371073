// Attribute dump of ORVA::Platform, in model order.

#include "basicimpl/platform/platformdump.h"

#include "basicimpl/common/dumpwriter.h"

namespace ORVA::Platform::BasicImpl::detail {

void writeAttributeDump(std::ostream& out, const PublicationStateHandle& state)
{
    basicimpl::DumpWriter dump(out);
    dump.number("this.ORVA_Platform_VersionCounter ", state->get_ORVA_Platform_VersionCounter());
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
    dump.text("this.callSign ", state->get_callSign());
    dump.text("this.designator ", state->get_designator());
    {
        const auto platformType = state->get_platformType();
        dump.heading("this.platformType ");
        dump.member("platformType.typeIndex ", platformType->get_typeIndex());
        dump.member("platformType.databaseVersion ", platformType->get_databaseVersion());
    }
    dump.enumeration("this.affiliation ", state->get_affiliation());
    dump.number("this.damageState ", state->get_damageState());
    dump.number("this.damagePercent ", state->get_damagePercent());
    {
        [[maybe_unused]] const auto tspi = state->get_tspi();  // members not dumped
        dump.heading("this.tspi ");
    }
}

}  // namespace ORVA::Platform::BasicImpl::detail
