#include "rangeprogram/middlewareoptions.h"

#include <utility>

namespace rangeprogram {

MiddlewareOptions::MiddlewareOptions(std::string initRef, std::string executionName, std::string sessionName)
    : initRef_(std::move(initRef)), executionName_(std::move(executionName)), sessionName_(std::move(sessionName))
{
    argv_ = {"-ORBdefaultInitRef", initRef_.c_str(), "-executionName", executionName_.c_str(),
             "-sessionName",       sessionName_.c_str(), nullptr};
}

}  // namespace rangeprogram
