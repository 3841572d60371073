// A peer that no one here wrote: a plain DDS writer on a class's topic. Well-formed samples are
// objects like any other; a malformed one is dropped without harm to the session.

#include "Platform.h"
#include "support/isolation.h"
#include "models/platform/platform.h"
#include "tests/middleware/rangefixture.h"

#include <dds/dds.h>

#include <iostream>
#include <limits>
#include <sstream>

using namespace rangetest;
using namespace std::chrono_literals;

namespace {

struct DdsEntity {
    dds_entity_t e;
    explicit DdsEntity(dds_entity_t entity) : e(entity) { EXPECT_GT(entity, 0) << dds_strretcode(entity); }
    ~DdsEntity() { dds_delete(e); }
};

// A plain DDS writer of Platform samples in the partition of execution `name`, with the QoS the
// middleware's readers expect: what a program of another maker would publish.
struct ForeignPlatformWriter {
    DdsEntity participant{dds_create_participant(DDS_DOMAIN_DEFAULT, nullptr, nullptr)};
    DdsEntity publisher;
    DdsEntity topic;
    DdsEntity writer;

    explicit ForeignPlatformWriter(const std::string& name)
        : publisher(publisherIn(participant.e, name)),
          topic(dds_create_topic(participant.e, &ORVA_Platform_IDL_Platform_desc, "ORVA_Platform", nullptr, nullptr)),
          writer(stateWriter(publisher.e, topic.e))
    {
    }

private:
    static dds_entity_t publisherIn(dds_entity_t participant, const std::string& name)
    {
        dds_qos_t* qos = dds_create_qos();
        dds_qset_partition1(qos, name.c_str());
        const dds_entity_t publisher = dds_create_publisher(participant, qos, nullptr);
        dds_delete_qos(qos);
        return publisher;
    }
    static dds_entity_t stateWriter(dds_entity_t publisher, dds_entity_t topic)
    {
        dds_qos_t* qos = dds_create_qos();
        dds_qset_reliability(qos, DDS_RELIABILITY_RELIABLE, DDS_SECS(1));
        dds_qset_durability(qos, DDS_DURABILITY_TRANSIENT_LOCAL);
        dds_qset_history(qos, DDS_HISTORY_KEEP_LAST, 1);
        const dds_entity_t writer = dds_create_writer(publisher, topic, qos, nullptr);
        dds_delete_qos(qos);
        return writer;
    }
};

ORVA_Platform_IDL_Platform sample(std::uint64_t serial, std::uint32_t nanoseconds, const char* callSign)
{
    ORVA_Platform_IDL_Platform s{};
    s.sdoOrigin = 0xfeedull;
    s.sdoSerial = serial;
    s.version = 3;
    s.timeStamp.seconds = 100;
    s.timeStamp.nanoseconds = nanoseconds;
    s.callSign = const_cast<char*>(callSign);
    s.designator = const_cast<char*>("");
    s.affiliation = 2;
    return s;
}

}  // namespace

TEST(ForeignWriter, WellFormedSamplesAreObjectsAndMalformedOnesAreDropped)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("middleware");
    auto manager = startManager(name);
    Member member = Member::join(name);
    auto recorder = std::make_shared<Recorder<ORVA::Platform::Proxy>>();
    member.session->subscribe(recordingSubscription<ORVA::Platform::SubscriptionInfo>(recorder));

    const ForeignPlatformWriter foreign(name);
    const DdsEntity& writer = foreign.writer;

    const auto bad = sample(1, 2000000000u, "Broken");  // nanoseconds beyond a second
    const auto good = sample(2, 5, "Foreign");
    ASSERT_EQ(DDS_RETCODE_OK, dds_write(writer.e, &bad));
    ASSERT_EQ(DDS_RETCODE_OK, dds_write(writer.e, &good));
    ASSERT_TRUE(member.pumpUntil([&] { return recorder->count('d') == 1; }, 10s));
    member.pumpFor(300ms);
    ASSERT_EQ("d", recorder->kinds());
    const auto proxy = recorder->events[0].proxy;
    EXPECT_EQ(ORVA::Middleware::SDOid(0xfeed, 2), proxy->getSDOid());
    EXPECT_EQ(3u, proxy->getPublicationState()->get_ORVA_Platform_VersionCounter());
    EXPECT_EQ("Foreign", proxy->getPublicationState()->get_callSign());
    EXPECT_EQ(ORVA::Affiliation::Hostile, proxy->getPublicationState()->get_affiliation());

    // Disposal by the foreign writer is a withdrawal.
    ASSERT_EQ(DDS_RETCODE_OK, dds_dispose(writer.e, &good));
    ASSERT_TRUE(member.pumpUntil([&] { return recorder->count('x') == 1; }, 5s));
    EXPECT_EQ(proxy, recorder->events.back().proxy);
}

TEST(ForeignWriter, SamplesWithNonFiniteNumbersOrAbsurdTextsAreDroppedWithALogLine)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string name = uniqueName("middleware");
    auto manager = startManager(name);
    Member member = Member::join(name);
    auto recorder = std::make_shared<Recorder<ORVA::Platform::Proxy>>();
    member.session->subscribe(recordingSubscription<ORVA::Platform::SubscriptionInfo>(recorder));
    std::ostringstream log;
    std::streambuf* const savedCerr = std::cerr.rdbuf(log.rdbuf());

    const ForeignPlatformWriter foreign(name);
    const DdsEntity& writer = foreign.writer;

    const std::string longText(70000, 'A');
    auto nanPosition = sample(1, 0, "NaN");
    nanPosition.tspi.position[1] = std::numeric_limits<double>::quiet_NaN();
    auto infiniteDamage = sample(2, 0, "Inf");
    infiniteDamage.damagePercent = std::numeric_limits<float>::infinity();
    const auto longCallSign = sample(3, 0, longText.c_str());
    const auto forgedLine = sample(4, 0, "UUT9\nNumber of Platforms = 99");
    for (const ORVA_Platform_IDL_Platform* bad :
         std::initializer_list<const ORVA_Platform_IDL_Platform*>{&nanPosition, &infiniteDamage, &longCallSign, &forgedLine})
        ASSERT_EQ(DDS_RETCODE_OK, dds_write(writer.e, bad));
    // A known object stays as it was when a malformed update of it comes.
    const auto good = sample(5, 5, "Foreign");
    ASSERT_EQ(DDS_RETCODE_OK, dds_write(writer.e, &good));
    ASSERT_TRUE(member.pumpUntil([&] { return recorder->count('d') == 1; }, 10s));
    auto spoiled = good;
    spoiled.version = 4;
    spoiled.tspi.velocity[0] = -std::numeric_limits<double>::infinity();
    ASSERT_EQ(DDS_RETCODE_OK, dds_write(writer.e, &spoiled));
    member.pumpFor(500ms);
    std::cerr.rdbuf(savedCerr);

    EXPECT_EQ("d", recorder->kinds());
    EXPECT_EQ(3u, recorder->events[0].proxy->getPublicationState()->get_ORVA_Platform_VersionCounter());
    const std::string text = log.str();
    EXPECT_EQ(5, vkrsim::test::count(text, "Session - dropped sample of ORVA::Platform: ")) << text;
    EXPECT_NE(std::string::npos, text.find("tspi: TSPI value that is not a finite number")) << text;
    EXPECT_NE(std::string::npos, text.find("damagePercent: not a finite number")) << text;
    EXPECT_NE(std::string::npos, text.find("callSign: text longer than 65536 bytes")) << text;
    EXPECT_NE(std::string::npos, text.find("callSign: control character in text")) << text;
}
