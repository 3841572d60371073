#include "middleware/exceptions.h"

namespace ORVA::Middleware {

Exception::Exception(const std::string& what) : std::runtime_error(what) {}
Exception::~Exception() = default;

InvalidAccess::InvalidAccess(const std::string& what) : Exception(what) {}
InvalidAccess::~InvalidAccess() = default;

}  // namespace ORVA::Middleware
