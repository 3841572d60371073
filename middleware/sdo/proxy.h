#pragma once
// Typed proxy: each class's Proxy derives from ProxyT<its ImmutablePublicationState>.

#include "middleware/sdo/publicationstate.h"
#include "middleware/smartptr.h"

#include <memory>

namespace ORVA::Middleware::SDO {

template <class State>
class ProxyT : public ProxyBase {
public:
    using ProxyBase::ProxyBase;

    // The state as of the last event delivered for this object.
    SmartPtr<State> getPublicationState() const
    {
        return SmartPtr<State>(std::static_pointer_cast<State>(state()));
    }
    SDOid getSDOid() const { return ProxyBase::getSDOid(); }
};

}  // namespace ORVA::Middleware::SDO
