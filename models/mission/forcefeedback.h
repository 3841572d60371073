#pragma once
// Object class HALC::ForceFeedback: a force-feedback effect: magnitude, period and whether it is active.

#include "models/mission/export.h"
#include "models/objectclass.h"

#include <cstdint>
#include <string>

namespace HALC::ForceFeedback {

namespace Middleware = ORVA::Middleware;
using Middleware::ManagedPtr;
using Middleware::SmartPtr;

// Attribute values in model order. A new object has zero values, empty texts and local classes
// holding zeros (never empty handles).
struct HALC_MISSION_MODEL_EXPORT Attributes {
    Attributes();
    double magnitude = 0.0;
    double period = 0.0;
    bool isActive = false;
};

class HALC_MISSION_MODEL_EXPORT ImmutablePublicationState : public Middleware::SDO::PublicationStateBase {
public:
    ImmutablePublicationState(const Middleware::SDOid& id, std::uint32_t version, const Attributes& attributes);
    ~ImmutablePublicationState() override;

    std::uint32_t get_HALC_ForceFeedback_VersionCounter() const { return version(); }
    double get_magnitude() const { return a_.magnitude; }
    double get_period() const { return a_.period; }
    bool get_isActive() const { return a_.isActive; }

    const Attributes& attributes() const noexcept { return a_; }

private:
    Attributes a_;
};

// Sole-owner change set of a servant, given back with commitUpdater.
class HALC_MISSION_MODEL_EXPORT PublicationStateUpdater {
public:
    explicit PublicationStateUpdater(const Attributes& attributes) : a_(attributes) {}

    double get_magnitude() const { return a_.magnitude; }
    double get_period() const { return a_.period; }
    bool get_isActive() const { return a_.isActive; }

    void set_magnitude(double v) { a_.magnitude = v; }
    void set_period(double v) { a_.period = v; }
    void set_isActive(bool v) { a_.isActive = v; }

    const Attributes& attributes() const noexcept { return a_; }

private:
    Attributes a_;
};

ORVA_OBJECT_CLASS_DECLARATIONS(HALC_MISSION_MODEL_EXPORT, HALC::ForceFeedback);

}  // namespace HALC::ForceFeedback
