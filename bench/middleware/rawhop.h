#pragma once
// The same hop without the middleware: a plain Cyclone writer and reader of the Platform wire type
// with the QoS of the middleware's state topics, at 100 Hz between two processes. It is the floor
// for a commit-to-callback hop on this machine; the difference to ours is what ours adds.

#include <cstdint>
#include <string>

namespace bench {

// The first tick of a periodic sender: the next multiple of `period` on CLOCK_MONOTONIC, plus
// `offset`. Two senders started together then keep apart by the difference of their offsets, so
// that measurements running side by side share the load without meeting each other.
std::int64_t alignedStart(std::int64_t period, std::int64_t offset);

// Child role: writes one Platform sample per period (10 ms, ticks at `offsetNs`) for `seconds` on
// `topic`, the write time (CLOCK_MONOTONIC) in timeStamp.
int rawPublish(const std::string& topic, std::int64_t offsetNs, double seconds);

// Child role, reader side: takes the samples on `topic` for `seconds` and prints the median and
// p99 of write to the end of dds_take (us), the first second dropped.
int rawSubscribe(const std::string& topic, double seconds);

}  // namespace bench
