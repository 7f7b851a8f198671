#pragma once
// The peak resident memory of a process, VmHWM in /proc/<pid>/status, in MiB. Not getrusage's
// ru_maxrss: a program spawned by a bigger one starts with that one's peak. Read with plain
// system calls, so that a program reading its own adds nothing to it (iostreams would).

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace brivana::bench {

inline double PeakMiB(const std::string& pid = "self")
{
    char status[4096] = {};
    const int file = open(("/proc/" + pid + "/status").c_str(), O_RDONLY);
    if (file < 0) return 0;
    const ssize_t size = read(file, status, sizeof status - 1);
    close(file);
    const char* line = size > 0 ? std::strstr(status, "VmHWM:") : nullptr;
    return line ? std::strtod(line + 6, nullptr) / 1024 : 0;
}

}  // namespace brivana::bench
