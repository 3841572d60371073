#pragma once
// Typed servant: each class's Servant derives from ServantT<State, Updater>, where State is its
// ImmutablePublicationState (built from id, version and Attributes) and Updater its
// PublicationStateUpdater (built from Attributes). Releasing the last handle withdraws the object.

#include "middleware/exceptions.h"
#include "middleware/sdo/servantcore.h"
#include "middleware/smartptr.h"

#include <memory>

namespace ORVA::Middleware::SDO {

template <class State, class Updater>
class ServantT {
public:
    explicit ServantT(std::shared_ptr<ServantCore> core) : core_(std::move(core)) {}
    virtual ~ServantT() = default;
    ServantT(const ServantT&) = delete;
    ServantT& operator=(const ServantT&) = delete;

    // A sole-owner updater that starts from the current state.
    std::unique_ptr<Updater> createUpdater() const
    {
        return std::make_unique<Updater>(current()->attributes());
    }
    // Takes the updater, raises the version by one and publishes its attributes.
    void commitUpdater(std::unique_ptr<Updater> updater)
    {
        if (!updater)
            throw InvalidAccess("commitUpdater: no updater given");
        const auto state = current();
        core_->publish(std::make_shared<State>(core_->id(), state->version() + 1, updater->attributes()));
    }

    SDOid getSDOid() const { return core_->id(); }
    SmartPtr<State> getPublicationState() const { return SmartPtr<State>(current()); }
    const CommunicationProperties& getCommunicationProperties() const { return core_->communicationProperties(); }
    const ConcurrencyProperties& getConcurrencyProperties() const { return core_->concurrencyProperties(); }

private:
    std::shared_ptr<State> current() const { return std::static_pointer_cast<State>(core_->state()); }

    std::shared_ptr<ServantCore> core_;
};

}  // namespace ORVA::Middleware::SDO
