#pragma once
// Options for the run time, given as a command-line style vector. Understood options (each takes
// the next entry as its value; a value may be empty):
//   -ORBdefaultInitRef REF   where the range is: see InitReference (README "Init reference")
//   -executionName NAME      kept for the caller, not used by init
//   -sessionName NAME        kept for the caller, not used by init
//   -joinTimeout MS          how long enterExecution waits for the execution manager (default 3000)
// Other entries are left alone. The vector needs no program name in front.

#include "middleware/export.h"

#include <string>

namespace ORVA::Middleware {

class ORVA_MIDDLEWARE_EXPORT Configuration {
public:
    // Removes the understood options and their values from argv (argv[argc] stays null when it
    // was) and lowers argc to match. `applicationName` names this program to peers;
    // `transportConfiguration` is extra DDS configuration XML, empty for none. Raises Exception
    // when an understood option lacks its value or -joinTimeout is not a whole number.
    Configuration(int& argc, char* argv[], const std::string& applicationName,
                  const std::string& transportConfiguration);
    // Same, for a vector the caller does not want changed.
    Configuration(int& argc, const char* const argv[], const std::string& applicationName,
                  const std::string& transportConfiguration);

    const std::string& initReference() const noexcept { return initReference_; }
    const std::string& executionName() const noexcept { return executionName_; }
    const std::string& sessionName() const noexcept { return sessionName_; }
    const std::string& applicationName() const noexcept { return applicationName_; }
    const std::string& transportConfiguration() const noexcept { return transportConfiguration_; }
    int joinTimeoutMilliseconds() const noexcept { return joinTimeoutMs_; }

private:
    std::string initReference_;
    std::string executionName_;
    std::string sessionName_;
    std::string applicationName_;
    std::string transportConfiguration_;
    int joinTimeoutMs_ = 3000;
};

}  // namespace ORVA::Middleware
