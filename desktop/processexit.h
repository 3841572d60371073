#pragma once
// Ending the process while other threads may still run. `exit` would run static destructors
// under those threads (the renderer's scene, the session's middleware, the toolkit); leaving
// instead flushes the output streams, runs the cleanups registered here (newest first) and ends
// with `_Exit`. Callable from any thread.

namespace desktop {

// A cleanup that must run on every way out, such as removing a private directory. It runs on
// the leaving thread, possibly while other threads still work, and must not throw.
using LeaveCleanup = void (*)();

// Registers `cleanup` once (a second registration of the same function is ignored). At most
// eight; false when full.
bool addLeaveCleanup(LeaveCleanup cleanup);

// Runs the registered cleanups now, each at most once in the life of the process.
void runLeaveCleanups();

// Flushes standard output and error, runs the cleanups and ends the process with `status`.
[[noreturn]] void leaveProcess(int status);

// The same for a termination signal: after the cleanups the process ends by `signo` itself
// (default action), so that its parent sees how it ended.
[[noreturn]] void leaveProcessBySignal(int signo);

}  // namespace desktop
