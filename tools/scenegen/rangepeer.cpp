#include "tools/scenegen/rangepeer.h"

#include "rangeprogram/middlewareoptions.h"

#include <algorithm>
#include <sstream>
#include <unistd.h>

namespace scenegen {

namespace Mw = ORVA::Middleware;
namespace cb = ORVA::Middleware::Callback;

namespace {

// One callback per event: keeps the proxy in, or takes it out of, its list.
template <class Proxy>
class ListCallback : public cb::Callback {
public:
    ListCallback(std::vector<Mw::ManagedPtr<Proxy>>& list, std::vector<Mw::SDOid>* destroyed, char kind,
                 Mw::ManagedPtr<Proxy> proxy)
        : list_(list), destroyed_(destroyed), kind_(kind), proxy_(std::move(proxy)) {}
    void execute() override
    {
        const Mw::SDOid id = proxy_->getSDOid();
        auto same = [&](const Mw::ManagedPtr<Proxy>& p) { return p->getSDOid() == id; };
        const auto at = std::find_if(list_.begin(), list_.end(), same);
        if (kind_ == 'd' && at == list_.end()) {
            list_.push_back(proxy_);
        } else if (kind_ == 'x' && at != list_.end()) {
            list_.erase(at);
            if (destroyed_)
                destroyed_->push_back(id);
        }
        // A state change needs nothing: the proxy always gives the last state delivered.
    }

private:
    std::vector<Mw::ManagedPtr<Proxy>>& list_;
    std::vector<Mw::SDOid>* destroyed_;
    char kind_;
    Mw::ManagedPtr<Proxy> proxy_;
};

template <class Proxy, class Tag>
class ListFactory : public virtual cb::CallbackFactory<Mw::ManagedPtr<Proxy>, Tag> {
public:
    ListFactory(std::shared_ptr<RangeObjects> owner, std::vector<Mw::ManagedPtr<Proxy>>& list,
                std::vector<Mw::SDOid>* destroyed, char kind)
        : owner_(std::move(owner)), list_(list), destroyed_(destroyed), kind_(kind) {}
    std::unique_ptr<cb::Callback> create(const Mw::ManagedPtr<Proxy>& proxy) override
    {
        return std::make_unique<ListCallback<Proxy>>(list_, destroyed_, kind_, proxy);
    }

private:
    std::shared_ptr<RangeObjects> owner_;  // keeps the lists alive as long as the middleware holds us
    std::vector<Mw::ManagedPtr<Proxy>>& list_;
    std::vector<Mw::SDOid>* destroyed_;
    char kind_;
};

template <class SubscriptionInfo, class Proxy>
Mw::SmartPtr<SubscriptionInfo> listSubscription(const std::shared_ptr<RangeObjects>& owner,
                                                std::vector<Mw::ManagedPtr<Proxy>>& list,
                                                std::vector<Mw::SDOid>* destroyed)
{
    using D = ListFactory<Proxy, cb::DiscoveryTag>;
    using S = ListFactory<Proxy, cb::StateChangeTag>;
    using X = ListFactory<Proxy, cb::DestructionTag>;
    return Mw::SmartPtr<SubscriptionInfo>(new SubscriptionInfo(Mw::SmartPtr<D>(new D(owner, list, destroyed, 'd')),
                                                               Mw::SmartPtr<S>(new S(owner, list, destroyed, 'c')),
                                                               Mw::SmartPtr<X>(new X(owner, list, destroyed, 'x'))));
}

}  // namespace

std::string idText(const Mw::SDOid& id)
{
    std::ostringstream out;
    out << id;
    return out.str();
}

RangePeer::RangePeer(const std::string& execution, const std::string& initRef, FrameHandle frame,
                     const SceneGeneratorIdentity& identity, std::optional<std::string> follow)
    : frame_(std::move(frame)), follow_(std::move(follow)), objects_(std::make_shared<RangeObjects>())
{
    rangeprogram::MiddlewareOptions options(initRef, execution, "scenegen");
    runtime_ = Mw::init(Mw::Configuration(options.argc(), options.argv(), "scenegen", ""));
    execution_ = runtime_->enterExecution(execution);
    session_ = execution_->openSession("scenegen");
    session_->subscribe(listSubscription<HALC::VKRsim::SubscriptionInfo>(objects_, objects_->vkrsims,
                                                                          &objects_->destroyedVKRsims));
    session_->subscribe(listSubscription<ORVA::Platform::SubscriptionInfo>(objects_, objects_->platforms, nullptr));

    auto info = Mw::SmartPtr<HALC::SceneGenerator::PublicationInfo>(new HALC::SceneGenerator::PublicationInfo(
        Mw::SmartPtr<HALC::SceneGenerator::RemoteMethodsFactoryInterface>(
            new HALC::SceneGenerator::RemoteMethodsFactoryInterface())));
    factory_ = session_->makeServantFactory<HALC::SceneGenerator::ServantTraits>(info);
    servant_ = factory_->createServant(Mw::CommunicationProperties(1), Mw::ConcurrencyProperties(1));
    auto updater = servant_->createUpdater();
    // Site 1, application 3 (scene generators), this process: unique on one machine.
    updater->set_sceneGeneratorID(ORVA::UniqueID::Interface::create(1, 3, static_cast<std::uint32_t>(::getpid())));
    updater->set_terrainDescription(identity.terrainDescription);
    servant_->commitUpdater(std::move(updater));
    endPoint_ = identity.endPoint;
}

void RangePeer::announceFeed()
{
    if (announced_)
        return;
    auto updater = servant_->createUpdater();
    updater->set_endPoint(endPoint_);
    servant_->commitUpdater(std::move(updater));
    announced_ = true;
}

RangePeer::~RangePeer()
{
    servant_.reset();
    factory_.reset();
    session_.reset();
    execution_.reset();
    runtime_.reset();
}

void RangePeer::pump(std::chrono::microseconds limit)
{
    session_->evokeMultipleCallbacks(static_cast<unsigned long>(std::max<std::int64_t>(0, limit.count())));
}

std::optional<VKRsimView> RangePeer::followedView(std::string& id)
{
    for (const auto& proxy : objects_->vkrsims) {
        const std::string text = idText(proxy->getSDOid());
        if (follow_ && *follow_ != text)
            continue;
        const auto s = proxy->getPublicationState();
        id = text;
        return VKRsimView{s->get_viewFromX(), s->get_viewFromY(), s->get_viewFromZ(),   s->get_viewPsi(),
                          s->get_viewTheta(), s->get_viewPhi(),   s->get_fieldOfView(), s->get_zoomFactor()};
    }
    return std::nullopt;
}

std::vector<std::string> RangePeer::takeDestroyed()
{
    std::vector<std::string> out;
    for (const auto& id : objects_->destroyedVKRsims)
        out.push_back(idText(id));
    objects_->destroyedVKRsims.clear();
    return out;
}

std::vector<PlatformPose> RangePeer::platformPoses() const
{
    std::vector<PlatformPose> out;
    for (const auto& proxy : objects_->platforms) {
        try {
            const auto tspi = proxy->getPublicationState()->get_tspi();
            const auto p = tspi->getPositionIn(frame_);
            const auto o = tspi->getOrientationIn(frame_);
            out.push_back({{p->get_x(), p->get_y(), p->get_z()}, {o->get_psi(), o->get_theta(), o->get_phi()}});
        } catch (const Mw::Exception&) {
            // A Platform without a usable TSPI is not drawn; the others still are.
        }
    }
    return out;
}

}  // namespace scenegen
