#pragma once
// The subscriber side of the range link benchmark, run as a child process: a session of its own
// that watches the Platform objects (the reference: commit to state-change callback) and the
// operator program's VKRsim object (end to end: Platform commit to the VKRsim update carrying its
// position). Runs until SIGTERM, then writes its samples to `resultPath`:
//   P <seen ns> <latency ns>   one per Platform state change
//   V <seen ns> <lag ns>       one per Platform position first seen in a VKRsim update
//   C <commit ns> <x> <y>      one per Platform state change, x and y as the session prints them
//   U <count>                  VKRsim positions that matched no Platform commit
// Times on the system clock (the Platform time stamp is taken from it), ns since 1970.

#include <string>

namespace linkbench {

int runProbe(const std::string& execution, const std::string& resultPath);

}  // namespace linkbench
