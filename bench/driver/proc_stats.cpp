#include "driver/proc_stats.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace brivana::bench {

namespace {

std::string ProcPath(pid_t pid) { return "/proc/" + std::to_string(pid); }

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

std::int64_t CpuTimeNs(pid_t pid)
{
    const std::string stat = ReadAll(ProcPath(pid) + "/stat");
    // The command name may hold spaces: the fields are counted from the closing parenthesis,
    // which ends field 2; utime and stime are fields 14 and 15.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int number = 3; number < 14; ++number) fields >> field;
    long long utime = 0;
    long long stime = 0;
    fields >> utime >> stime;
    if (!fields) throw std::runtime_error("unexpected " + ProcPath(pid) + "/stat");
    return (utime + stime) * 1'000'000'000LL / sysconf(_SC_CLK_TCK);
}

std::int64_t ScheduledTimeNs(pid_t pid)
{
    std::int64_t total = 0;
    for (const auto& task : std::filesystem::directory_iterator(ProcPath(pid) + "/task")) {
        std::istringstream fields(ReadAll(task.path().string() + "/schedstat"));
        long long onCpu = 0;
        if (fields >> onCpu) total += onCpu;
    }
    return total;
}

std::int64_t PeakResidentKiB(pid_t pid)
{
    std::istringstream status(ReadAll(ProcPath(pid) + "/status"));
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stoll(line.substr(6));
    }
    throw std::runtime_error("no VmHWM in " + ProcPath(pid) + "/status");
}

}  // namespace brivana::bench
