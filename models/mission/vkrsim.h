#pragma once
// Object class HALC::VKRsim: where a sight looks from and to, its attitude, zoom, field of view and terrain.

#include "models/localclasses/uniqueid.h"
#include "models/mission/export.h"
#include "models/objectclass.h"

#include <cstdint>
#include <string>

namespace HALC::VKRsim {

namespace Middleware = ORVA::Middleware;
namespace UniqueID = ORVA::UniqueID;
using Middleware::ManagedPtr;
using Middleware::SmartPtr;

// Attribute values in model order. A new object has zero values, empty texts and local classes
// holding zeros (never empty handles).
struct HALC_MISSION_MODEL_EXPORT Attributes {
    Attributes();
    double fieldOfView = 0.0;
    double zoomFactor = 0.0;
    std::int16_t terrainID = 0;
    double viewFromX = 0.0;
    double viewFromY = 0.0;
    double viewFromZ = 0.0;
    double viewToX = 0.0;
    double viewToY = 0.0;
    double viewToZ = 0.0;
    double viewPsi = 0.0;
    double viewTheta = 0.0;
    double viewPhi = 0.0;
    SmartPtr<UniqueID::Interface> VKRsimID;
};

class HALC_MISSION_MODEL_EXPORT ImmutablePublicationState : public Middleware::SDO::PublicationStateBase {
public:
    ImmutablePublicationState(const Middleware::SDOid& id, std::uint32_t version, const Attributes& attributes);
    ~ImmutablePublicationState() override;

    std::uint32_t get_HALC_VKRsim_VersionCounter() const { return version(); }
    double get_fieldOfView() const { return a_.fieldOfView; }
    double get_zoomFactor() const { return a_.zoomFactor; }
    std::int16_t get_terrainID() const { return a_.terrainID; }
    double get_viewFromX() const { return a_.viewFromX; }
    double get_viewFromY() const { return a_.viewFromY; }
    double get_viewFromZ() const { return a_.viewFromZ; }
    double get_viewToX() const { return a_.viewToX; }
    double get_viewToY() const { return a_.viewToY; }
    double get_viewToZ() const { return a_.viewToZ; }
    double get_viewPsi() const { return a_.viewPsi; }
    double get_viewTheta() const { return a_.viewTheta; }
    double get_viewPhi() const { return a_.viewPhi; }
    SmartPtr<UniqueID::Interface> get_VKRsimID() const { return a_.VKRsimID; }

    const Attributes& attributes() const noexcept { return a_; }

private:
    Attributes a_;
};

// Sole-owner change set of a servant, given back with commitUpdater.
class HALC_MISSION_MODEL_EXPORT PublicationStateUpdater {
public:
    explicit PublicationStateUpdater(const Attributes& attributes) : a_(attributes) {}

    double get_fieldOfView() const { return a_.fieldOfView; }
    double get_zoomFactor() const { return a_.zoomFactor; }
    std::int16_t get_terrainID() const { return a_.terrainID; }
    double get_viewFromX() const { return a_.viewFromX; }
    double get_viewFromY() const { return a_.viewFromY; }
    double get_viewFromZ() const { return a_.viewFromZ; }
    double get_viewToX() const { return a_.viewToX; }
    double get_viewToY() const { return a_.viewToY; }
    double get_viewToZ() const { return a_.viewToZ; }
    double get_viewPsi() const { return a_.viewPsi; }
    double get_viewTheta() const { return a_.viewTheta; }
    double get_viewPhi() const { return a_.viewPhi; }
    SmartPtr<UniqueID::Interface> get_VKRsimID() const { return a_.VKRsimID; }

    // Local-class setters raise InvalidAccess for an empty handle: an object never carries one.
    void set_fieldOfView(double v) { a_.fieldOfView = v; }
    void set_zoomFactor(double v) { a_.zoomFactor = v; }
    void set_terrainID(std::int16_t v) { a_.terrainID = v; }
    void set_viewFromX(double v) { a_.viewFromX = v; }
    void set_viewFromY(double v) { a_.viewFromY = v; }
    void set_viewFromZ(double v) { a_.viewFromZ = v; }
    void set_viewToX(double v) { a_.viewToX = v; }
    void set_viewToY(double v) { a_.viewToY = v; }
    void set_viewToZ(double v) { a_.viewToZ = v; }
    void set_viewPsi(double v) { a_.viewPsi = v; }
    void set_viewTheta(double v) { a_.viewTheta = v; }
    void set_viewPhi(double v) { a_.viewPhi = v; }
    void set_VKRsimID(const SmartPtr<UniqueID::Interface>& v);

    const Attributes& attributes() const noexcept { return a_; }

private:
    Attributes a_;
};

ORVA_OBJECT_CLASS_DECLARATIONS(HALC_MISSION_MODEL_EXPORT, HALC::VKRsim);

}  // namespace HALC::VKRsim
