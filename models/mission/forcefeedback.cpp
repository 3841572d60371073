// HALC::ForceFeedback: attribute defaults, setters and the binding between the C sample and the C++ state.

#include "models/mission/forcefeedback.h"

#include "ForceFeedback.h"

#include <memory>
#include <string>

namespace HALC::ForceFeedback {

namespace {

using Middleware::SDOid;
using Middleware::SDO::PublicationStateBase;

constexpr char kClassName[] = "HALC::ForceFeedback";

class Binding final : public ORVA::ObjectModel::BindingT<Attributes, ImmutablePublicationState, Proxy> {
public:
    Binding() noexcept : BindingT(kClassName, &HALC_ForceFeedback_IDL_ForceFeedback_desc) {}

    std::shared_ptr<PublicationStateBase> decode(const void* sample) const override
    {
        const auto& in = *static_cast<const HALC_ForceFeedback_IDL_ForceFeedback*>(sample);
        Attributes a;
        a.magnitude = in.magnitude;
        a.period = in.period;
        a.isActive = in.isActive;
        return std::make_shared<ImmutablePublicationState>(SDOid(in.sdoOrigin, in.sdoSerial), in.version, a);
    }

    void encode(const PublicationStateBase& base, const std::function<void(const void*)>& use) const override
    {
        const auto& a = static_cast<const ImmutablePublicationState&>(base).attributes();
        HALC_ForceFeedback_IDL_ForceFeedback out{};
        out.sdoOrigin = base.sdoId().origin();
        out.sdoSerial = base.sdoId().serial();
        out.version = base.version();
        out.magnitude = a.magnitude;
        out.period = a.period;
        out.isActive = a.isActive;
        use(&out);
    }
};

}  // namespace

Attributes::Attributes()
{
}

ORVA_OBJECT_CLASS_DEFINITIONS();

}  // namespace HALC::ForceFeedback
