#pragma once
// Base of every object class's read-only publication state and proxy. The identity and the version
// travel in every sample; the class's attributes live in the derived classes of the model library.

#include "middleware/export.h"
#include "middleware/sdoid.h"

#include <cstdint>
#include <memory>

namespace ORVA::Middleware::SDO {

class ORVA_MIDDLEWARE_EXPORT PublicationStateBase {
public:
    PublicationStateBase(const SDOid& id, std::uint32_t version) noexcept : id_(id), version_(version) {}
    virtual ~PublicationStateBase();

    const SDOid& sdoId() const noexcept { return id_; }
    // 1 when the object was created, one more per commit.
    std::uint32_t version() const noexcept { return version_; }

private:
    SDOid id_;
    std::uint32_t version_;
};

// A session's view of one remote object. The state changes only on the session's callback thread,
// just before the callback of the event that brought it runs.
class ORVA_MIDDLEWARE_EXPORT ProxyBase {
public:
    ProxyBase(const SDOid& id, std::shared_ptr<PublicationStateBase> state) noexcept;
    virtual ~ProxyBase();
    ProxyBase(const ProxyBase&) = delete;
    ProxyBase& operator=(const ProxyBase&) = delete;

    const SDOid& getSDOid() const noexcept { return id_; }
    const std::shared_ptr<PublicationStateBase>& state() const noexcept { return state_; }
    // Middleware use only.
    void setState(std::shared_ptr<PublicationStateBase> state) noexcept { state_ = std::move(state); }

private:
    SDOid id_;
    std::shared_ptr<PublicationStateBase> state_;
};

}  // namespace ORVA::Middleware::SDO
