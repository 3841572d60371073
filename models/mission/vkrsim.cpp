// HALC::VKRsim: attribute defaults, setters and the binding between the C sample and the C++ state.

#include "models/mission/vkrsim.h"

#include "VKRsim.h"
#include "models/localclasses/wireform.h"

#include <memory>
#include <string>

namespace HALC::VKRsim {

namespace {

using Middleware::SDOid;
using Middleware::SDO::PublicationStateBase;
using ORVA::ObjectModel::required;
using ORVA::ObjectModel::zero;

constexpr char kClassName[] = "HALC::VKRsim";
namespace wire = ::ORVA::LocalClasses::wire;

class Binding final : public ORVA::ObjectModel::BindingT<Attributes, ImmutablePublicationState, Proxy> {
public:
    Binding() noexcept : BindingT(kClassName, &HALC_VKRsim_IDL_VKRsim_desc) {}

    std::shared_ptr<PublicationStateBase> decode(const void* sample) const override
    {
        const auto& in = *static_cast<const HALC_VKRsim_IDL_VKRsim*>(sample);
        Attributes a;
        a.fieldOfView = in.fieldOfView;
        a.zoomFactor = in.zoomFactor;
        a.terrainID = in.terrainID;
        a.viewFromX = in.viewFromX;
        a.viewFromY = in.viewFromY;
        a.viewFromZ = in.viewFromZ;
        a.viewToX = in.viewToX;
        a.viewToY = in.viewToY;
        a.viewToZ = in.viewToZ;
        a.viewPsi = in.viewPsi;
        a.viewTheta = in.viewTheta;
        a.viewPhi = in.viewPhi;
        a.VKRsimID = wire::from(in.VKRsimID);
        return std::make_shared<ImmutablePublicationState>(SDOid(in.sdoOrigin, in.sdoSerial), in.version, a);
    }

    void encode(const PublicationStateBase& base, const std::function<void(const void*)>& use) const override
    {
        const auto& a = static_cast<const ImmutablePublicationState&>(base).attributes();
        HALC_VKRsim_IDL_VKRsim out{};
        out.sdoOrigin = base.sdoId().origin();
        out.sdoSerial = base.sdoId().serial();
        out.version = base.version();
        out.fieldOfView = a.fieldOfView;
        out.zoomFactor = a.zoomFactor;
        out.terrainID = a.terrainID;
        out.viewFromX = a.viewFromX;
        out.viewFromY = a.viewFromY;
        out.viewFromZ = a.viewFromZ;
        out.viewToX = a.viewToX;
        out.viewToY = a.viewToY;
        out.viewToZ = a.viewToZ;
        out.viewPsi = a.viewPsi;
        out.viewTheta = a.viewTheta;
        out.viewPhi = a.viewPhi;
        out.VKRsimID = wire::to(*a.VKRsimID);
        use(&out);
    }
};

}  // namespace

Attributes::Attributes()
    : VKRsimID(zero<UniqueID::Interface>())
{
}

void PublicationStateUpdater::set_VKRsimID(const SmartPtr<UniqueID::Interface>& v) { a_.VKRsimID = required(v, kClassName, "VKRsimID"); }

ORVA_OBJECT_CLASS_DEFINITIONS();

}  // namespace HALC::VKRsim
