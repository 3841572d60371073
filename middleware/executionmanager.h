#pragma once
// Announces one execution for as long as the object lives, so that run times can enter it. The
// orva-executionmanager program is a thin shell around it.

#include "middleware/configuration.h"
#include "middleware/export.h"

#include <memory>
#include <string>

namespace ORVA::Middleware {

class ORVA_MIDDLEWARE_EXPORT ExecutionManager {
public:
    // Raises Exception for a bad execution name or init reference, or when DDS cannot start.
    ExecutionManager(const Configuration& configuration, const std::string& executionName);
    ~ExecutionManager();  // withdraws the announcement
    ExecutionManager(const ExecutionManager&) = delete;
    ExecutionManager& operator=(const ExecutionManager&) = delete;

    const std::string& executionName() const noexcept;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ORVA::Middleware
