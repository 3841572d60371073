#pragma once
// A session's factory of servants of one class. Traits (each class's ServantTraits) give
// `Servant`, `PublicationInfo` and `static const ClassBinding& binding()`.

#include "middleware/managedptr.h"
#include "middleware/properties.h"
#include "middleware/sdo/servantcore.h"
#include "middleware/smartptr.h"

#include <memory>

namespace ORVA::Middleware::SDO {

template <class Traits>
class ServantFactory {
public:
    using Servant = typename Traits::Servant;
    using PublicationInfo = typename Traits::PublicationInfo;

    ServantFactory(std::shared_ptr<SessionState> session, const SmartPtr<PublicationInfo>& info)
        : session_(std::move(session)), info_(info)
    {
    }

    // A new object, published at once with version 1.
    ManagedPtr<Servant> createServant(const CommunicationProperties& communication,
                                      const ConcurrencyProperties& concurrency)
    {
        return ManagedPtr<Servant>(std::make_shared<Servant>(
            createServantCore(session_, Traits::binding(), communication, concurrency)));
    }

    SmartPtr<PublicationInfo> getPublicationInfo() const { return info_; }

private:
    std::shared_ptr<SessionState> session_;
    SmartPtr<PublicationInfo> info_;
};

}  // namespace ORVA::Middleware::SDO
