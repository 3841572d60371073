#include "middleware/dds/qos_p.h"

#include "middleware/exceptions.h"

namespace ORVA::Middleware::dds {

namespace {

Qos make()
{
    Qos q(dds_create_qos());
    if (!q)
        throw Exception("dds_create_qos: out of memory");
    return q;
}

}  // namespace

Qos stateReaderQos()
{
    Qos q = make();
    dds_qset_reliability(q.get(), DDS_RELIABILITY_RELIABLE, DDS_SECS(1));
    dds_qset_durability(q.get(), DDS_DURABILITY_TRANSIENT_LOCAL);
    dds_qset_history(q.get(), DDS_HISTORY_KEEP_LAST, 1);
    return q;
}

Qos stateWriterQos()
{
    Qos q = stateReaderQos();
    dds_qset_writer_data_lifecycle(q.get(), false);
    dds_qset_liveliness(q.get(), DDS_LIVELINESS_AUTOMATIC, DDS_MSECS(1000));
    return q;
}

Qos partitionQos(const char* partition)
{
    Qos q = make();
    dds_qset_partition1(q.get(), partition);
    return q;
}

}  // namespace ORVA::Middleware::dds
