#include "middleware/runtimestate_p.h"

#include "middleware/announcement_p.h"
#include "middleware/dds/qos_p.h"
#include "middleware/exceptions.h"
#include "middleware/initreference.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <sstream>

namespace ORVA::Middleware {

namespace {

// Cyclone configuration for unicast discovery: multicast off, the given peers, and room for many
// participants on one host (each takes a participant index, hence a port). The processes of this
// machine are always peers too: a range engineer lists the other machines, and without multicast
// nothing else would let an execution manager and a monitor on the same machine meet.
std::string peersConfiguration(const std::vector<std::string>& peers)
{
    std::ostringstream xml;
    xml << "<CycloneDDS><Domain id=\"any\"><General><AllowMulticast>false</AllowMulticast></General>"
           "<Discovery><ParticipantIndex>auto</ParticipantIndex>"
           "<MaxAutoParticipantIndex>60</MaxAutoParticipantIndex><Peers>";
    const std::string thisMachine = "127.0.0.1";
    if (std::find(peers.begin(), peers.end(), thisMachine) == peers.end())
        xml << "<Peer address=\"" << thisMachine << "\"/>";
    for (const auto& peer : peers)
        xml << "<Peer address=\"" << peer << "\"/>";
    xml << "</Peers></Discovery></Domain></CycloneDDS>";
    return xml.str();
}

std::uint64_t randomOrigin()
{
    std::random_device device;
    const std::uint64_t high = device();
    const std::uint64_t low = device();
    const auto clock = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return (high << 32 ^ low) ^ (clock * 0x9e3779b97f4a7c15ull);
}

}  // namespace

RuntimeState::RuntimeState(const Configuration& configuration)
    : origin_(randomOrigin()), joinTimeoutMs_(configuration.joinTimeoutMilliseconds())
{
    const InitReference ref = InitReference::parse(configuration.initReference());
    std::string config;
    if (!ref.peers.empty())
        config = peersConfiguration(ref.peers);
    if (!configuration.transportConfiguration().empty())
        config += (config.empty() ? "" : ",") + configuration.transportConfiguration();
    if (!config.empty()) {
        const dds_entity_t domain = dds_create_domain(ref.domain, config.c_str());
        // A domain already made in this process (by another run time) is used as it is.
        if (domain < 0 && domain != DDS_RETCODE_PRECONDITION_NOT_MET)
            dds::check(domain, "dds_create_domain");
        if (domain > 0)
            domain_ = dds::Entity(domain);
    }
    participant_ = dds::Entity(
        dds::check(dds_create_participant(ref.domain, nullptr, nullptr), "dds_create_participant"));
}

RuntimeState::~RuntimeState()
{
    // Children (topics) first, then the participant, then the domain; members go in reverse order.
    topics_.clear();
    participant_.reset();
}

dds_entity_t RuntimeState::topicFor(const SDO::ClassBinding& binding)
{
    const std::string name = binding.className();
    auto found = topics_.find(name);
    if (found != topics_.end())
        return found->second.get();
    std::string topicName = name;
    for (auto pos = topicName.find("::"); pos != std::string::npos; pos = topicName.find("::"))
        topicName.replace(pos, 2, "_");
    const dds_entity_t topic = dds::check(
        dds_create_topic(participant(), binding.topicDescriptor(), topicName.c_str(), nullptr, nullptr),
        "dds_create_topic");
    topics_.emplace(name, dds::Entity(topic));
    return topic;
}

SDOid RuntimeState::newId() noexcept
{
    return SDOid(origin_, ++serial_);
}

ExecutionState::ExecutionState(std::shared_ptr<RuntimeState> runtime, const std::string& name)
    : runtime_(std::move(runtime)), name_(name)
{
    checkName(name);
    if (!waitForAnnouncement(runtime_->participant(), name,
                             std::chrono::milliseconds(runtime_->joinTimeoutMilliseconds())))
        throw Exception("enterExecution: no execution manager announces execution \"" + name + "\" (waited " +
                        std::to_string(runtime_->joinTimeoutMilliseconds()) + " ms)");
    const dds::Qos partition = dds::partitionQos(name.c_str());
    publisher_ = dds::Entity(
        dds::check(dds_create_publisher(runtime_->participant(), partition.get(), nullptr), "dds_create_publisher"));
    subscriber_ = dds::Entity(
        dds::check(dds_create_subscriber(runtime_->participant(), partition.get(), nullptr), "dds_create_subscriber"));
}

void ExecutionState::checkName(const std::string& name)
{
    if (name.empty())
        throw Exception("enterExecution: empty execution name");
    if (name.find_first_of("*?[]\\") != std::string::npos)
        throw Exception("enterExecution: execution name \"" + name +
                        "\" holds a pattern character (* ? [ ] \\)");
}

}  // namespace ORVA::Middleware
