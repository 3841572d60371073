// ORVA::Platform: attribute defaults, setters and the binding between the C sample and the C++ state.

#include "models/platform/platform.h"

#include "Platform.h"
#include "models/localclasses/wireform.h"

#include <memory>
#include <string>

namespace ORVA::Platform {

namespace {

using Middleware::SDOid;
using Middleware::SDO::PublicationStateBase;
using ORVA::ObjectModel::required;
using ORVA::ObjectModel::zero;

constexpr char kClassName[] = "ORVA::Platform";
namespace wire = ::ORVA::LocalClasses::wire;

class Binding final : public ORVA::ObjectModel::BindingT<Attributes, ImmutablePublicationState, Proxy> {
public:
    Binding() noexcept : BindingT(kClassName, &ORVA_Platform_IDL_Platform_desc) {}

    std::shared_ptr<PublicationStateBase> decode(const void* sample) const override
    {
        const auto& in = *static_cast<const ORVA_Platform_IDL_Platform*>(sample);
        Attributes a;
        a.platformID = wire::from(in.platformID);
        a.timeStamp = wire::from(in.timeStamp);
        a.callSign = in.callSign ? in.callSign : "";
        a.designator = in.designator ? in.designator : "";
        a.platformType = wire::from(in.platformType);
        a.affiliation = static_cast<Affiliation::Enum>(in.affiliation);
        a.damageState = in.damageState;
        a.damagePercent = in.damagePercent;
        a.tspi = wire::from(in.tspi);
        return std::make_shared<ImmutablePublicationState>(SDOid(in.sdoOrigin, in.sdoSerial), in.version, a);
    }

    void encode(const PublicationStateBase& base, const std::function<void(const void*)>& use) const override
    {
        const auto& a = static_cast<const ImmutablePublicationState&>(base).attributes();
        ORVA_Platform_IDL_Platform out{};
        out.sdoOrigin = base.sdoId().origin();
        out.sdoSerial = base.sdoId().serial();
        out.version = base.version();
        out.platformID = wire::to(*a.platformID);
        out.timeStamp = wire::to(*a.timeStamp);
        out.callSign = const_cast<char*>(a.callSign.c_str());  // dds_write only reads it
        out.designator = const_cast<char*>(a.designator.c_str());  // dds_write only reads it
        out.platformType = wire::to(*a.platformType);
        out.affiliation = static_cast<std::int32_t>(a.affiliation);
        out.damageState = a.damageState;
        out.damagePercent = a.damagePercent;
        out.tspi = wire::to(*a.tspi);
        use(&out);
    }
};

}  // namespace

Attributes::Attributes()
    : platformID(zero<UniqueID::Interface>()),
      timeStamp(zero<Time::Interface>()),
      platformType(zero<PlatformType::Interface>()),
      tspi(zero<TSPI::Interface>())
{
}

void PublicationStateUpdater::set_platformID(const SmartPtr<UniqueID::Interface>& v) { a_.platformID = required(v, kClassName, "platformID"); }
void PublicationStateUpdater::set_timeStamp(const SmartPtr<Time::Interface>& v) { a_.timeStamp = required(v, kClassName, "timeStamp"); }
void PublicationStateUpdater::set_platformType(const SmartPtr<PlatformType::Interface>& v) { a_.platformType = required(v, kClassName, "platformType"); }
void PublicationStateUpdater::set_tspi(const SmartPtr<TSPI::Interface>& v) { a_.tspi = required(v, kClassName, "tspi"); }

ORVA_OBJECT_CLASS_DEFINITIONS();

}  // namespace ORVA::Platform
