#include "models/localclasses/uniqueid.h"
#include "models/localclasses/linkforcing.h"

std::int32_t userDefined_UniqueID_forceThisLibraryToBeLinked = 0;

namespace ORVA::UniqueID {

namespace {

class Value final : public Interface {
public:
    Value(std::uint16_t site, std::uint16_t application, std::uint32_t object) noexcept
        : site_(site), application_(application), object_(object) {}
    std::uint16_t get_siteID() const override { return site_; }
    std::uint16_t get_applicationID() const override { return application_; }
    std::uint32_t get_objectID() const override { return object_; }

private:
    std::uint16_t site_;
    std::uint16_t application_;
    std::uint32_t object_;
};

}  // namespace

Interface::~Interface() = default;

Middleware::SmartPtr<Interface> Interface::create(std::uint16_t siteID, std::uint16_t applicationID,
                                                  std::uint32_t objectID)
{
    return Middleware::SmartPtr<Interface>(new Value(siteID, applicationID, objectID));
}

}  // namespace ORVA::UniqueID
