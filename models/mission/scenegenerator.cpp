// HALC::SceneGenerator: attribute defaults, setters and the binding between the C sample and the C++ state.

#include "models/mission/scenegenerator.h"

#include "SceneGenerator.h"
#include "models/localclasses/wireform.h"

#include <memory>
#include <string>

namespace HALC::SceneGenerator {

namespace {

using Middleware::SDOid;
using Middleware::SDO::PublicationStateBase;
using ORVA::ObjectModel::required;
using ORVA::ObjectModel::zero;

constexpr char kClassName[] = "HALC::SceneGenerator";
namespace wire = ::ORVA::LocalClasses::wire;

class Binding final : public ORVA::ObjectModel::BindingT<Attributes, ImmutablePublicationState, Proxy> {
public:
    Binding() noexcept : BindingT(kClassName, &HALC_SceneGenerator_IDL_SceneGenerator_desc) {}

    std::shared_ptr<PublicationStateBase> decode(const void* sample) const override
    {
        const auto& in = *static_cast<const HALC_SceneGenerator_IDL_SceneGenerator*>(sample);
        Attributes a;
        a.sceneGeneratorID = wire::from(in.sceneGeneratorID);
        a.endPoint = in.endPoint ? in.endPoint : "";
        a.terrainDescription = in.terrainDescription ? in.terrainDescription : "";
        return std::make_shared<ImmutablePublicationState>(SDOid(in.sdoOrigin, in.sdoSerial), in.version, a);
    }

    void encode(const PublicationStateBase& base, const std::function<void(const void*)>& use) const override
    {
        const auto& a = static_cast<const ImmutablePublicationState&>(base).attributes();
        HALC_SceneGenerator_IDL_SceneGenerator out{};
        out.sdoOrigin = base.sdoId().origin();
        out.sdoSerial = base.sdoId().serial();
        out.version = base.version();
        out.sceneGeneratorID = wire::to(*a.sceneGeneratorID);
        out.endPoint = const_cast<char*>(a.endPoint.c_str());  // dds_write only reads it
        out.terrainDescription = const_cast<char*>(a.terrainDescription.c_str());  // dds_write only reads it
        use(&out);
    }
};

}  // namespace

Attributes::Attributes()
    : sceneGeneratorID(zero<UniqueID::Interface>())
{
}

void PublicationStateUpdater::set_sceneGeneratorID(const SmartPtr<UniqueID::Interface>& v) { a_.sceneGeneratorID = required(v, kClassName, "sceneGeneratorID"); }

ORVA_OBJECT_CLASS_DEFINITIONS();

}  // namespace HALC::SceneGenerator
