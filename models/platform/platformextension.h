#pragma once
// Object class ORVA::PlatformExtension: a typed extension attached to a platform.

#include "models/localclasses/time.h"
#include "models/localclasses/uniqueid.h"
#include "models/objectclass.h"
#include "models/platform/export.h"

#include <cstdint>
#include <string>

namespace ORVA::PlatformExtension {

using Middleware::ManagedPtr;
using Middleware::SmartPtr;

// Attribute values in model order. A new object has zero values, empty texts and local classes
// holding zeros (never empty handles).
struct ORVA_PLATFORM_MODEL_EXPORT Attributes {
    Attributes();
    SmartPtr<UniqueID::Interface> platformID;
    SmartPtr<Time::Interface> timeStamp;
    std::uint32_t extensionTypeID = 0;
};

class ORVA_PLATFORM_MODEL_EXPORT ImmutablePublicationState : public Middleware::SDO::PublicationStateBase {
public:
    ImmutablePublicationState(const Middleware::SDOid& id, std::uint32_t version, const Attributes& attributes);
    ~ImmutablePublicationState() override;

    std::uint32_t get_ORVA_PlatformExtension_VersionCounter() const { return version(); }
    SmartPtr<UniqueID::Interface> get_platformID() const { return a_.platformID; }
    SmartPtr<Time::Interface> get_timeStamp() const { return a_.timeStamp; }
    std::uint32_t get_extensionTypeID() const { return a_.extensionTypeID; }

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
    std::uint32_t get_extensionTypeID() const { return a_.extensionTypeID; }

    // Local-class setters raise InvalidAccess for an empty handle: an object never carries one.
    void set_platformID(const SmartPtr<UniqueID::Interface>& v);
    void set_timeStamp(const SmartPtr<Time::Interface>& v);
    void set_extensionTypeID(std::uint32_t v) { a_.extensionTypeID = v; }

    const Attributes& attributes() const noexcept { return a_; }

private:
    Attributes a_;
};

ORVA_OBJECT_CLASS_DECLARATIONS(ORVA_PLATFORM_MODEL_EXPORT, ORVA::PlatformExtension);

}  // namespace ORVA::PlatformExtension
