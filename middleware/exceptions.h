#pragma once
// Failures of the middleware are exceptions; every one derives from ORVA::Middleware::Exception.

#include "middleware/export.h"

#include <stdexcept>
#include <string>

namespace ORVA::Middleware {

// Any failure the middleware reports: set-up of the transport, joining, publishing.
class ORVA_MIDDLEWARE_EXPORT Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& what);
    ~Exception() override;
};

// Dereferencing an empty SmartPtr or ManagedPtr.
class ORVA_MIDDLEWARE_EXPORT InvalidAccess : public Exception {
public:
    explicit InvalidAccess(const std::string& what);
    ~InvalidAccess() override;
};

}  // namespace ORVA::Middleware
