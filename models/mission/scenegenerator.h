#pragma once
// Object class HALC::SceneGenerator: a scene generator: its identity, network end point and terrain description.

#include "models/localclasses/uniqueid.h"
#include "models/mission/export.h"
#include "models/objectclass.h"

#include <cstdint>
#include <string>

namespace HALC::SceneGenerator {

namespace Middleware = ORVA::Middleware;
namespace UniqueID = ORVA::UniqueID;
using Middleware::ManagedPtr;
using Middleware::SmartPtr;

// Attribute values in model order. A new object has zero values, empty texts and local classes
// holding zeros (never empty handles).
struct HALC_MISSION_MODEL_EXPORT Attributes {
    Attributes();
    SmartPtr<UniqueID::Interface> sceneGeneratorID;
    std::string endPoint;
    std::string terrainDescription;
};

class HALC_MISSION_MODEL_EXPORT ImmutablePublicationState : public Middleware::SDO::PublicationStateBase {
public:
    ImmutablePublicationState(const Middleware::SDOid& id, std::uint32_t version, const Attributes& attributes);
    ~ImmutablePublicationState() override;

    std::uint32_t get_HALC_SceneGenerator_VersionCounter() const { return version(); }
    SmartPtr<UniqueID::Interface> get_sceneGeneratorID() const { return a_.sceneGeneratorID; }
    std::string get_endPoint() const { return a_.endPoint; }
    std::string get_terrainDescription() const { return a_.terrainDescription; }

    const Attributes& attributes() const noexcept { return a_; }

private:
    Attributes a_;
};

// Sole-owner change set of a servant, given back with commitUpdater.
class HALC_MISSION_MODEL_EXPORT PublicationStateUpdater {
public:
    explicit PublicationStateUpdater(const Attributes& attributes) : a_(attributes) {}

    SmartPtr<UniqueID::Interface> get_sceneGeneratorID() const { return a_.sceneGeneratorID; }
    std::string get_endPoint() const { return a_.endPoint; }
    std::string get_terrainDescription() const { return a_.terrainDescription; }

    // Local-class setters raise InvalidAccess for an empty handle: an object never carries one.
    void set_sceneGeneratorID(const SmartPtr<UniqueID::Interface>& v);
    void set_endPoint(const std::string& v) { a_.endPoint = v; }
    void set_terrainDescription(const std::string& v) { a_.terrainDescription = v; }

    const Attributes& attributes() const noexcept { return a_; }

private:
    Attributes a_;
};

ORVA_OBJECT_CLASS_DECLARATIONS(HALC_MISSION_MODEL_EXPORT, HALC::SceneGenerator);

}  // namespace HALC::SceneGenerator
