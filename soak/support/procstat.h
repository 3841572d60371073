#pragma once
// What a process holds, read from /proc: the figures a soak or a cycle run compares at its start
// and at its end.

namespace soak {

struct ProcessFigures {
    long rssKb = 0;   // resident set (VmRSS)
    int threads = 0;  // Threads
    int fds = 0;      // open file descriptors
};

// Figures of process `pid` (0: this process); zeros for a process that is gone.
ProcessFigures processFigures(int pid = 0);

}  // namespace soak
