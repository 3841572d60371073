#include "middleware/sdo/classbinding.h"
#include "middleware/sdo/publicationstate.h"
#include "middleware/sdo/subscriptioninfo.h"

namespace ORVA::Middleware::SDO {

PublicationStateBase::~PublicationStateBase() = default;

ProxyBase::ProxyBase(const SDOid& id, std::shared_ptr<PublicationStateBase> state) noexcept
    : id_(id), state_(std::move(state))
{
}
ProxyBase::~ProxyBase() = default;

ClassBinding::~ClassBinding() = default;
SubscriptionInfoBase::~SubscriptionInfoBase() = default;

}  // namespace ORVA::Middleware::SDO
