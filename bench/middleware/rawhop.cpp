#include "bench/middleware/rawhop.h"

#include "bench/support/benchtools.h"

#include "Platform.h"

#include <dds/dds.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <stdexcept>

namespace bench {

namespace {

dds_entity_t check(dds_entity_t e, const char* what)
{
    if (e < 0)
        throw std::runtime_error(std::string(what) + ": " + dds_strretcode(e));
    return e;
}

// The participant and its children, deleted together.
struct Participant {
    dds_entity_t handle = check(dds_create_participant(DDS_DOMAIN_DEFAULT, nullptr, nullptr), "dds_create_participant");
    ~Participant() { dds_delete(handle); }
};

// As the middleware's state topics: reliable, transient-local, keep-last-1; the writer with
// automatic liveliness (1 s) and no automatic disposal.
dds_qos_t* stateQos(bool writer)
{
    dds_qos_t* q = dds_create_qos();
    dds_qset_reliability(q, DDS_RELIABILITY_RELIABLE, DDS_SECS(1));
    dds_qset_durability(q, DDS_DURABILITY_TRANSIENT_LOCAL);
    dds_qset_history(q, DDS_HISTORY_KEEP_LAST, 1);
    if (writer) {
        dds_qset_writer_data_lifecycle(q, false);
        dds_qset_liveliness(q, DDS_LIVELINESS_AUTOMATIC, DDS_MSECS(1000));
    }
    return q;
}

dds_entity_t makeTopic(const Participant& p, const std::string& name)
{
    return check(dds_create_topic(p.handle, &ORVA_Platform_IDL_Platform_desc, name.c_str(), nullptr, nullptr),
                 "dds_create_topic");
}

}  // namespace

std::int64_t alignedStart(std::int64_t period, std::int64_t offset)
{
    const std::int64_t now = monotonicNs();
    return (now / period + 1) * period + offset;
}

int rawPublish(const std::string& topic, std::int64_t offsetNs, double seconds)
{
    Participant p;
    dds_qos_t* q = stateQos(true);
    const dds_entity_t writer = dds_create_writer(p.handle, makeTopic(p, topic), q, nullptr);
    dds_delete_qos(q);
    check(writer, "dds_create_writer");
    ORVA_Platform_IDL_Platform sample;
    std::memset(&sample, 0, sizeof sample);
    sample.sdoOrigin = 1;
    sample.sdoSerial = 1;
    char callSign[] = "", designator[] = "";
    sample.callSign = callSign;
    sample.designator = designator;
    usleep(500000);  // let the reader discover the writer
    const std::int64_t period = 10000000;
    std::int64_t next = alignedStart(period, offsetNs);
    const std::int64_t end = next + static_cast<std::int64_t>(seconds * 1e9);
    for (; next < end; next += period) {
        const timespec at{static_cast<time_t>(next / 1000000000), static_cast<long>(next % 1000000000)};
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr);
        const std::int64_t now = monotonicNs();
        ++sample.version;
        sample.timeStamp.seconds = now / 1000000000;
        sample.timeStamp.nanoseconds = static_cast<std::uint32_t>(now % 1000000000);
        check(dds_write(writer, &sample), "dds_write");
    }
    return 0;
}

int rawSubscribe(const std::string& topic, double seconds)
{
    Participant p;
    dds_qos_t* q = stateQos(false);
    const dds_entity_t reader = dds_create_reader(p.handle, makeTopic(p, topic), q, nullptr);
    dds_delete_qos(q);
    check(reader, "dds_create_reader");
    const dds_entity_t waitset = check(dds_create_waitset(p.handle), "dds_create_waitset");
    check(dds_waitset_attach(waitset, check(dds_create_readcondition(reader, DDS_ANY_STATE), "readcondition"), 0),
          "dds_waitset_attach");
    std::vector<double> latencies;
    const std::int64_t end = monotonicNs() + static_cast<std::int64_t>((seconds + 3) * 1e9);
    while (monotonicNs() < end) {
        dds_waitset_wait(waitset, nullptr, 0, DDS_MSECS(10));
        void* samples[4] = {nullptr};
        dds_sample_info_t infos[4];
        const dds_return_t n = dds_take(reader, samples, infos, 4, 4);
        const std::int64_t now = monotonicNs();
        for (dds_return_t i = 0; i < n; ++i) {
            const auto* s = static_cast<const ORVA_Platform_IDL_Platform*>(samples[i]);
            if (infos[i].valid_data && s->timeStamp.seconds > 0)
                latencies.push_back(
                    static_cast<double>(now - (s->timeStamp.seconds * 1000000000 + s->timeStamp.nanoseconds)) /
                    1000.0);
        }
        if (n > 0)
            dds_return_loan(reader, samples, n);
    }
    if (latencies.size() > 100)
        latencies.erase(latencies.begin(), latencies.begin() + 100);
    std::printf("%.1f %.1f %zu\n", percentile(latencies, 0.5), percentile(latencies, 0.99), latencies.size());
    return 0;
}

}  // namespace bench
