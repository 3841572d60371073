#pragma once
// Execution announcements: an execution manager keeps one alive per execution; joining waits for it.
// Private to the middleware.

#include <dds/dds.h>

#include <chrono>
#include <string>

namespace ORVA::Middleware {

// True once an alive announcement of `name` is seen in `participant`'s domain within `timeout`.
bool waitForAnnouncement(dds_entity_t participant, const std::string& name, std::chrono::milliseconds timeout);

}  // namespace ORVA::Middleware
