// Attribute dump of HALC::VKRsim, in model order.

#include "basicimpl/mission/vkrsimdump.h"

#include "basicimpl/common/dumpwriter.h"

namespace HALC::VKRsim::BasicImpl::detail {

void writeAttributeDump(std::ostream& out, const PublicationStateHandle& state)
{
    basicimpl::DumpWriter dump(out);
    dump.number("this.HALC_VKRsim_VersionCounter ", state->get_HALC_VKRsim_VersionCounter());
    dump.number("this.fieldOfView ", state->get_fieldOfView());
    dump.number("this.zoomFactor ", state->get_zoomFactor());
    dump.number("this.terrainID ", state->get_terrainID());
    dump.number("this.viewFromX ", state->get_viewFromX());
    dump.number("this.viewFromY ", state->get_viewFromY());
    dump.number("this.viewFromZ ", state->get_viewFromZ());
    dump.number("this.viewToX ", state->get_viewToX());
    dump.number("this.viewToY ", state->get_viewToY());
    dump.number("this.viewToZ ", state->get_viewToZ());
    dump.number("this.viewPsi ", state->get_viewPsi());
    dump.number("this.viewTheta ", state->get_viewTheta());
    dump.number("this.viewPhi ", state->get_viewPhi());
    // Local classes are read into a handle of their own, held while the members are read.
    const auto vkrsimID = state->get_VKRsimID();
    dump.heading("this.VKRsimID ");
    dump.member("VKRsimID.siteID ", vkrsimID->get_siteID());
    dump.member("VKRsimID.applicationID ", vkrsimID->get_applicationID());
    dump.member("VKRsimID.objectID ", vkrsimID->get_objectID());
}

}  // namespace HALC::VKRsim::BasicImpl::detail
