#pragma once
// What the kernel counts for a running process, read from /proc.

#include <cstdint>
#include <sys/types.h>

namespace brivana::bench {

// CPU time used so far, user plus system (utime + stime of /proc/<pid>/stat), in nanoseconds;
// the kernel counts it in clock ticks, so it moves in steps of 1/CLK_TCK seconds.
std::int64_t CpuTimeNs(pid_t pid);
// Time spent on a CPU by all the threads, from the scheduler (/proc/<pid>/task/*/schedstat),
// in nanoseconds: finer than CpuTimeNs.
std::int64_t ScheduledTimeNs(pid_t pid);
// Peak resident set size (VmHWM of /proc/<pid>/status), in kibibytes.
std::int64_t PeakResidentKiB(pid_t pid);

}  // namespace brivana::bench
