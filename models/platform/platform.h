#pragma once
// Object class ORVA::Platform: one vehicle or other platform on the range: identity, call sign, type, affiliation, damage and TSPI.

#include "models/localclasses/affiliation.h"
#include "models/localclasses/platformtype.h"
#include "models/localclasses/tspi.h"
#include "models/localclasses/time.h"
#include "models/localclasses/uniqueid.h"
#include "models/objectclass.h"
#include "models/platform/export.h"

#include <cstdint>
#include <string>

namespace ORVA::Platform {

using Middleware::ManagedPtr;
using Middleware::SmartPtr;

// Attribute values in model order. A new object has zero values, empty texts and local classes
// holding zeros (never empty handles).
struct ORVA_PLATFORM_MODEL_EXPORT Attributes {
    Attributes();
    SmartPtr<UniqueID::Interface> platformID;
    SmartPtr<Time::Interface> timeStamp;
    std::string callSign;
    std::string designator;
    SmartPtr<PlatformType::Interface> platformType;
    Affiliation::Enum affiliation = Affiliation::Unknown;
    std::int32_t damageState = 0;
    float damagePercent = 0.0f;
    SmartPtr<TSPI::Interface> tspi;
};

class ORVA_PLATFORM_MODEL_EXPORT ImmutablePublicationState : public Middleware::SDO::PublicationStateBase {
public:
    ImmutablePublicationState(const Middleware::SDOid& id, std::uint32_t version, const Attributes& attributes);
    ~ImmutablePublicationState() override;

    std::uint32_t get_ORVA_Platform_VersionCounter() const { return version(); }
    SmartPtr<UniqueID::Interface> get_platformID() const { return a_.platformID; }
    SmartPtr<Time::Interface> get_timeStamp() const { return a_.timeStamp; }
    std::string get_callSign() const { return a_.callSign; }
    std::string get_designator() const { return a_.designator; }
    SmartPtr<PlatformType::Interface> get_platformType() const { return a_.platformType; }
    Affiliation::Enum get_affiliation() const { return a_.affiliation; }
    std::int32_t get_damageState() const { return a_.damageState; }
    float get_damagePercent() const { return a_.damagePercent; }
    SmartPtr<TSPI::Interface> get_tspi() const { return a_.tspi; }

    const Attributes& attributes() const noexcept { return a_; }

private:
    Attributes a_;
};

// Sole-owner change set of a servant, given back with commitUpdater.
class ORVA_PLATFORM_MODEL_EXPORT PublicationStateUpdater {
public:
    explicit PublicationStateUpdater(const Attributes& attributes) : a_(attributes) {}

    SmartPtr<UniqueID::Interface> get_platformID() const { return a_.platformID; }
    SmartPtr<Time::Interface> get_timeStamp() const { return a_.timeStamp; }
    std::string get_callSign() const { return a_.callSign; }
    std::string get_designator() const { return a_.designator; }
    SmartPtr<PlatformType::Interface> get_platformType() const { return a_.platformType; }
    Affiliation::Enum get_affiliation() const { return a_.affiliation; }
    std::int32_t get_damageState() const { return a_.damageState; }
    float get_damagePercent() const { return a_.damagePercent; }
    SmartPtr<TSPI::Interface> get_tspi() const { return a_.tspi; }

    // Local-class setters raise InvalidAccess for an empty handle: an object never carries one.
    void set_platformID(const SmartPtr<UniqueID::Interface>& v);
    void set_timeStamp(const SmartPtr<Time::Interface>& v);
    void set_callSign(const std::string& v) { a_.callSign = v; }
    void set_designator(const std::string& v) { a_.designator = v; }
    void set_platformType(const SmartPtr<PlatformType::Interface>& v);
    void set_affiliation(Affiliation::Enum v) { a_.affiliation = v; }
    void set_damageState(std::int32_t v) { a_.damageState = v; }
    void set_damagePercent(float v) { a_.damagePercent = v; }
    void set_tspi(const SmartPtr<TSPI::Interface>& v);

    const Attributes& attributes() const noexcept { return a_; }

private:
    Attributes a_;
};

ORVA_OBJECT_CLASS_DECLARATIONS(ORVA_PLATFORM_MODEL_EXPORT, ORVA::Platform);

}  // namespace ORVA::Platform
