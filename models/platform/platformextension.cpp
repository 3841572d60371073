// ORVA::PlatformExtension: attribute defaults, setters and the binding between the C sample and the C++ state.

#include "models/platform/platformextension.h"

#include "PlatformExtension.h"
#include "models/localclasses/wireform.h"

#include <memory>
#include <string>

namespace ORVA::PlatformExtension {

namespace {

using Middleware::SDOid;
using Middleware::SDO::PublicationStateBase;
using ORVA::ObjectModel::required;
using ORVA::ObjectModel::zero;

constexpr char kClassName[] = "ORVA::PlatformExtension";
namespace wire = ::ORVA::LocalClasses::wire;

class Binding final : public ORVA::ObjectModel::BindingT<Attributes, ImmutablePublicationState, Proxy> {
public:
    Binding() noexcept : BindingT(kClassName, &ORVA_PlatformExtension_IDL_PlatformExtension_desc) {}

    std::shared_ptr<PublicationStateBase> decode(const void* sample) const override
    {
        const auto& in = *static_cast<const ORVA_PlatformExtension_IDL_PlatformExtension*>(sample);
        Attributes a;
        a.platformID = wire::from(in.platformID);
        a.timeStamp = wire::from(in.timeStamp);
        a.extensionTypeID = in.extensionTypeID;
        return std::make_shared<ImmutablePublicationState>(SDOid(in.sdoOrigin, in.sdoSerial), in.version, a);
    }

    void encode(const PublicationStateBase& base, const std::function<void(const void*)>& use) const override
    {
        const auto& a = static_cast<const ImmutablePublicationState&>(base).attributes();
        ORVA_PlatformExtension_IDL_PlatformExtension out{};
        out.sdoOrigin = base.sdoId().origin();
        out.sdoSerial = base.sdoId().serial();
        out.version = base.version();
        out.platformID = wire::to(*a.platformID);
        out.timeStamp = wire::to(*a.timeStamp);
        out.extensionTypeID = a.extensionTypeID;
        use(&out);
    }
};

}  // namespace

Attributes::Attributes()
    : platformID(zero<UniqueID::Interface>()),
      timeStamp(zero<Time::Interface>())
{
}

void PublicationStateUpdater::set_platformID(const SmartPtr<UniqueID::Interface>& v) { a_.platformID = required(v, kClassName, "platformID"); }
void PublicationStateUpdater::set_timeStamp(const SmartPtr<Time::Interface>& v) { a_.timeStamp = required(v, kClassName, "timeStamp"); }

ORVA_OBJECT_CLASS_DEFINITIONS();

}  // namespace ORVA::PlatformExtension
