#pragma once
// Quality of service of the middleware's readers and writers. Private to the middleware.

#include <dds/dds.h>

#include <memory>

namespace ORVA::Middleware::dds {

struct QosDeleter {
    void operator()(dds_qos_t* q) const noexcept { dds_delete_qos(q); }
};
using Qos = std::unique_ptr<dds_qos_t, QosDeleter>;

// Object state: reliable, transient-local, keep-last-1, so a late joiner gets every object's
// current state and a slow one skips to the newest.
Qos stateReaderQos();
// Same, plus liveliness within 1 s so that a vanished owner shows as destroyed quickly; a lost
// writer's instances become NO_WRITERS (not disposed) so its death is told apart from withdrawal.
Qos stateWriterQos();
// Partition of one execution, for its publisher and subscriber.
Qos partitionQos(const char* partition);

}  // namespace ORVA::Middleware::dds
