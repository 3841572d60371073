#pragma once
// The class-independent part of a servant: its identity, its current state and its DDS writer.
// Made by a ServantFactory; the typed Servant of each class wraps one. Destroying it withdraws the
// object (dispose, then unregister), so subscribers see it destroyed at once.

#include "middleware/export.h"
#include "middleware/properties.h"
#include "middleware/sdo/classbinding.h"
#include "middleware/sdoid.h"

#include <memory>

namespace ORVA::Middleware::SDO {

class SessionState;

class ORVA_MIDDLEWARE_EXPORT ServantCore {
public:
    ~ServantCore();
    ServantCore(const ServantCore&) = delete;
    ServantCore& operator=(const ServantCore&) = delete;

    const SDOid& id() const noexcept;
    std::shared_ptr<PublicationStateBase> state() const noexcept;
    const CommunicationProperties& communicationProperties() const noexcept;
    const ConcurrencyProperties& concurrencyProperties() const noexcept;

    // Publishes `next` as the object's state. Its version must be one more than the current one.
    // Raises Exception when the transport refuses the sample.
    void publish(std::shared_ptr<PublicationStateBase> next);

    struct Impl;
    explicit ServantCore(std::unique_ptr<Impl> impl) noexcept;

private:
    std::unique_ptr<Impl> impl_;
};

// Makes and publishes (version 1) a new object of `binding`'s class in `session`.
ORVA_MIDDLEWARE_EXPORT std::shared_ptr<ServantCore> createServantCore(
    const std::shared_ptr<SessionState>& session, const ClassBinding& binding,
    const CommunicationProperties& communication, const ConcurrencyProperties& concurrency);

}  // namespace ORVA::Middleware::SDO
