#pragma once
// Publication information: the remote-methods factory of one object class. Each class's
// PublicationInfo derives from PublicationInfoT<its RemoteMethodsFactoryInterface>.

#include "middleware/smartptr.h"

namespace ORVA::Middleware::SDO {

template <class RemoteMethodsFactory>
class PublicationInfoT {
public:
    explicit PublicationInfoT(const SmartPtr<RemoteMethodsFactory>& factory) : factory_(factory) {}
    virtual ~PublicationInfoT() = default;

    virtual SmartPtr<RemoteMethodsFactory> getRemoteMethodsFactory() const { return factory_; }
    virtual void setRemoteMethodsFactory(const SmartPtr<RemoteMethodsFactory>& factory) { factory_ = factory; }

private:
    SmartPtr<RemoteMethodsFactory> factory_;
};

}  // namespace ORVA::Middleware::SDO
