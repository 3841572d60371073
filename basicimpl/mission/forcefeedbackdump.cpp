// Attribute dump of HALC::ForceFeedback, in model order.

#include "basicimpl/mission/forcefeedbackdump.h"

#include "basicimpl/common/dumpwriter.h"

namespace HALC::ForceFeedback::BasicImpl::detail {

void writeAttributeDump(std::ostream& out, const PublicationStateHandle& state)
{
    basicimpl::DumpWriter dump(out);
    dump.number("this.HALC_ForceFeedback_VersionCounter ", state->get_HALC_ForceFeedback_VersionCounter());
    dump.number("this.magnitude ", state->get_magnitude());
    dump.number("this.period ", state->get_period());
    dump.flag("this.isActive ", state->get_isActive());
}

}  // namespace HALC::ForceFeedback::BasicImpl::detail
