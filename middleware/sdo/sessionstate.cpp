#include "middleware/sdo/sessionstate_p.h"

#include "middleware/dds/qos_p.h"
#include "middleware/exceptions.h"

#include <chrono>
#include <iostream>

namespace ORVA::Middleware::SDO {

namespace {

constexpr std::uint32_t kBatch = 64;

}  // namespace

SessionState::SessionState(std::shared_ptr<ExecutionState> execution, const std::string& name)
    : execution_(std::move(execution)), name_(name)
{
    waitset_ = dds::Entity(
        dds::check(dds_create_waitset(execution_->runtime().participant()), "dds_create_waitset"));
}

SessionState::~SessionState()
{
    // Queued events hold proxies only; readers and writers go before the waitset.
    queue_.clear();
    subscriptions_.clear();
    writers_.clear();
}

void SessionState::subscribe(const SmartPtr<SubscriptionInfoBase>& info)
{
    if (info.isNull())
        throw InvalidAccess("subscribe: empty subscription information");
    const ClassBinding& binding = info->binding();
    auto& slot = subscriptions_[binding.className()];
    if (slot) {
        slot->info = info;
        return;
    }
    auto subscription = std::make_unique<Subscription>();
    subscription->info = info;
    const dds::Qos qos = dds::stateReaderQos();
    subscription->reader = dds::Entity(dds::check(
        dds_create_reader(execution_->subscriber(), execution_->runtime().topicFor(binding), qos.get(), nullptr),
        "dds_create_reader"));
    // The condition is the reader's child and goes with it.
    const dds_entity_t condition = dds::check(
        dds_create_readcondition(subscription->reader.get(), DDS_ANY_STATE), "dds_create_readcondition");
    dds::check(dds_waitset_attach(waitset_.get(), condition, condition), "dds_waitset_attach");
    slot = std::move(subscription);
}

dds_entity_t SessionState::writerFor(const ClassBinding& binding)
{
    auto found = writers_.find(binding.className());
    if (found != writers_.end())
        return found->second.get();
    const dds::Qos qos = dds::stateWriterQos();
    const dds_entity_t writer = dds::check(
        dds_create_writer(execution_->publisher(), execution_->runtime().topicFor(binding), qos.get(), nullptr),
        "dds_create_writer");
    writers_.emplace(binding.className(), dds::Entity(writer));
    dds_instance_handle_t handle = 0;
    dds::check(dds_get_instance_handle(writer, &handle), "dds_get_instance_handle");
    ownWriters_.insert(handle);
    return writer;
}

std::size_t SessionState::evoke(unsigned long limitMicroseconds)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::microseconds(limitMicroseconds);
    if (queue_.empty())
        collect();
    // Samples that make no event (own objects, unknown withdrawals) wake the wait but are no reason
    // to return early.
    while (queue_.empty()) {
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero())
            return 0;
        dds::check(dds_waitset_wait(waitset_.get(), nullptr, 0,
                                    std::chrono::duration_cast<std::chrono::nanoseconds>(left).count()),
                   "dds_waitset_wait");
        collect();
    }
    return runQueued();
}

std::size_t SessionState::collect()
{
    for (auto& entry : subscriptions_)
        collectFrom(*entry.second);
    return queue_.size();
}

void SessionState::collectFrom(Subscription& subscription)
{
    const ClassBinding& binding = subscription.info->binding();
    while (true) {
        void* samples[kBatch] = {nullptr};
        dds_sample_info_t infos[kBatch];
        const dds_return_t n =
            dds::check(dds_take(subscription.reader.get(), samples, infos, kBatch, kBatch), "dds_take");
        for (dds_return_t i = 0; i < n; ++i) {
            const dds_sample_info_t& info = infos[i];
            if (ownWriters_.count(info.publication_handle))
                continue;
            auto known = subscription.known.find(info.instance_handle);
            std::shared_ptr<PublicationStateBase> state;
            if (info.valid_data) {
                try {
                    state = binding.decode(samples[i]);
                } catch (const std::exception& e) {
                    // A malformed sample changes nothing; its instance state still counts below.
                    std::cerr << "Session - dropped sample of " << binding.className() << ": " << e.what() << '\n';
                }
            }
            if (state) {
                if (known == subscription.known.end()) {
                    auto proxy = binding.makeProxy(state->sdoId(), state);
                    known = subscription.known.emplace(info.instance_handle, proxy).first;
                    queue_.push_back({EventKind::Discovery, &subscription, std::move(proxy), std::move(state)});
                } else {
                    queue_.push_back({EventKind::StateChange, &subscription, known->second, std::move(state)});
                }
            }
            // Disposed (withdrawn) or no writers left (owner gone); an instance never discovered here,
            // such as the disposal of an object withdrawn before we joined, is not reported.
            if (info.instance_state != DDS_IST_ALIVE && known != subscription.known.end()) {
                queue_.push_back({EventKind::Destruction, &subscription, known->second, nullptr});
                subscription.known.erase(known);
            }
        }
        if (n > 0)
            dds_return_loan(subscription.reader.get(), samples, n);
        if (n < static_cast<dds_return_t>(kBatch))
            return;
    }
}

std::size_t SessionState::runQueued()
{
    std::size_t ran = 0;
    while (!queue_.empty()) {
        // Taken off the queue first: a callback that raises is not run again.
        Event event = std::move(queue_.front());
        queue_.pop_front();
        if (event.state)
            event.proxy->setState(std::move(event.state));
        auto callback = event.subscription->info->createCallback(event.kind, event.proxy);
        if (callback) {
            callback->execute();
            ++ran;
        }
    }
    return ran;
}

}  // namespace ORVA::Middleware::SDO
