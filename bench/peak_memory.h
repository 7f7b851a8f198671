#pragma once
// The peak resident memory of a process, VmHWM in /proc/<pid>/status, in MiB. Not getrusage's
// ru_maxrss: a program spawned by a bigger one starts with that one's peak.

#include <fstream>
#include <string>

namespace brivana::bench {

inline double PeakMiB(const std::string& pid = "self")
{
    std::ifstream status("/proc/" + pid + "/status");
    for (std::string key; status >> key;) {
        double kib = 0;
        if (key == "VmHWM:" && status >> kib) return kib / 1024;
    }
    return 0;
}

}  // namespace brivana::bench
