// Attribute dump of HALC::SceneGenerator, in model order.

#include "basicimpl/mission/scenegeneratordump.h"

#include "basicimpl/common/dumpwriter.h"

namespace HALC::SceneGenerator::BasicImpl::detail {

void writeAttributeDump(std::ostream& out, const PublicationStateHandle& state)
{
    basicimpl::DumpWriter dump(out);
    dump.number("this.HALC_SceneGenerator_VersionCounter ", state->get_HALC_SceneGenerator_VersionCounter());
    {
        // Local classes are read into a handle of their own, held while the members are read.
        const auto sceneGeneratorID = state->get_sceneGeneratorID();
        dump.heading("this.sceneGeneratorID ");
        dump.member("sceneGeneratorID.siteID ", sceneGeneratorID->get_siteID());
        dump.member("sceneGeneratorID.applicationID ", sceneGeneratorID->get_applicationID());
        dump.member("sceneGeneratorID.objectID ", sceneGeneratorID->get_objectID());
    }
    dump.text("this.endPoint ", state->get_endPoint());
    dump.text("this.terrainDescription ", state->get_terrainDescription());
}

}  // namespace HALC::SceneGenerator::BasicImpl::detail
