#include "middleware/announcement_p.h"

#include "Announcement.h"
#include "middleware/dds/entity_p.h"
#include "middleware/dds/qos_p.h"
#include "middleware/executionmanager.h"
#include "middleware/runtimestate_p.h"

#include <random>

namespace ORVA::Middleware {

namespace {

const char* const kTopic = "ORVA_ExecutionAnnouncement";

dds_entity_t announcementTopic(dds_entity_t participant)
{
    return dds::check(dds_create_topic(participant, &ORVA_Middleware_IDL_ExecutionAnnouncement_desc, kTopic,
                                       nullptr, nullptr),
                      "dds_create_topic");
}

}  // namespace

bool waitForAnnouncement(dds_entity_t participant, const std::string& name, std::chrono::milliseconds timeout)
{
    const dds::Qos qos = dds::stateReaderQos();
    const dds::Entity topic(announcementTopic(participant));
    const dds::Entity reader(
        dds::check(dds_create_reader(participant, topic.get(), qos.get(), nullptr), "dds_create_reader"));
    const dds::Entity waitset(dds::check(dds_create_waitset(participant), "dds_create_waitset"));
    const dds_entity_t condition =
        dds::check(dds_create_readcondition(reader.get(), DDS_ANY_STATE), "dds_create_readcondition");
    dds::check(dds_waitset_attach(waitset.get(), condition, 0), "dds_waitset_attach");

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        void* samples[16] = {nullptr};
        dds_sample_info_t infos[16];
        const dds_return_t n = dds::check(dds_take(reader.get(), samples, infos, 16, 16), "dds_take");
        bool found = false;
        for (dds_return_t i = 0; i < n; ++i) {
            const auto* a = static_cast<const ORVA_Middleware_IDL_ExecutionAnnouncement*>(samples[i]);
            if (infos[i].valid_data && infos[i].instance_state == DDS_IST_ALIVE && a->name && name == a->name)
                found = true;
        }
        if (n > 0)
            dds_return_loan(reader.get(), samples, n);
        if (found)
            return true;
        const auto left = deadline - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero())
            return false;
        dds_waitset_wait(waitset.get(), nullptr, 0,
                         std::chrono::duration_cast<std::chrono::nanoseconds>(left).count());
    }
}

struct ExecutionManager::Impl {
    std::shared_ptr<RuntimeState> runtime;
    std::string name;
    dds::Entity writer;
    ORVA_Middleware_IDL_ExecutionAnnouncement sample{};
};

ExecutionManager::ExecutionManager(const Configuration& configuration, const std::string& executionName)
    : impl_(std::make_unique<Impl>())
{
    ExecutionState::checkName(executionName);
    impl_->runtime = std::make_shared<RuntimeState>(configuration);
    impl_->name = executionName;
    dds::Qos qos = dds::stateWriterQos();
    dds_qset_writer_data_lifecycle(qos.get(), true);
    const dds_entity_t participant = impl_->runtime->participant();
    impl_->writer = dds::Entity(dds::check(
        dds_create_writer(participant, announcementTopic(participant), qos.get(), nullptr), "dds_create_writer"));
    std::random_device device;
    impl_->sample.name = const_cast<char*>(impl_->name.c_str());  // dds_write only reads it
    impl_->sample.managerId = (static_cast<std::uint64_t>(device()) << 32) | device();
    dds::check(dds_write(impl_->writer.get(), &impl_->sample), "dds_write");
}

ExecutionManager::~ExecutionManager()
{
    if (impl_->writer.get() > 0) {
        dds_dispose(impl_->writer.get(), &impl_->sample);
        dds_unregister_instance(impl_->writer.get(), &impl_->sample);
    }
}

const std::string& ExecutionManager::executionName() const noexcept
{
    return impl_->name;
}

}  // namespace ORVA::Middleware
