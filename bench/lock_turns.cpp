// Three games flood the record with saves while an honest one reads and saves: how long his
// requests wait for the folder's lock, and what becomes of his saves, with the lock of the
// installed game (a byte-range lock waited on in the kernel) beside the lock it replaced (a
// folder lock tried again every 50 ms). Prints one table with the ratios.
// Usage: brivana-bench-lock [ROUNDS]
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "game/record_store.h"
#include "system/system_file_access.h"

namespace {

using namespace brivana;
using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

// The real file access, with the lock the game had before: flock on the folder, tried every 50 ms.
class PollingLockFiles final : public FileAccess {
public:
    IoStatus lockFolder(const std::string& dir, std::chrono::milliseconds wait, std::unique_ptr<FileLock>& lock) override
    {
        struct Held final : FileLock {
            int fd;
            explicit Held(int f) : fd(f) {}
            ~Held() override { ::close(fd); }
        };
        auto held = std::make_unique<Held>(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (held->fd < 0) return IoStatus::failure("open");
        const auto deadline = Clock::now() + wait;
        while (::flock(held->fd, LOCK_EX | LOCK_NB) != 0) {
            if (Clock::now() >= deadline) return IoStatus::failure("occupato");
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        lock = std::move(held);
        return IoStatus::success();
    }
    IoStatus list(const std::string& d, std::vector<std::string>& n) override { return real_.list(d, n); }
    IoStatus ensureFile(const std::string& p) override { return real_.ensureFile(p); }
    IoStatus readHead(const std::string& p, std::size_t m, std::string& o) override { return real_.readHead(p, m, o); }
    IoStatus writeNew(const std::string& p, const std::string& b) override { return real_.writeNew(p, b); }
    IoStatus syncFile(const std::string& p) override { return real_.syncFile(p); }
    IoStatus replace(const std::string& f, const std::string& t) override { return real_.replace(f, t); }
    IoStatus remove(const std::string& p) override { return real_.remove(p); }
    IoStatus syncDirectory(const std::string& d) override { return real_.syncDirectory(d); }
    IoStatus readTail(const std::string& p, std::size_t m, std::string& o, std::uint64_t& s) override
    {
        return real_.readTail(p, m, o, s);
    }
    IoStatus appendPrivate(const std::string& p, const std::string& b) override { return real_.appendPrivate(p, b); }
    IoStatus truncate(const std::string& p, std::uint64_t s) override { return real_.truncate(p, s); }

private:
    SystemFileAccess real_;
};

struct Figures {
    std::vector<double> reads, saves;  // the honest game's waits, in ms
    int saved = 0, notBetter = 0, refused = 0;
    long floodSaves = 0;
    double seconds = 0;
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}
double Max(const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }

Figures Run(FileAccess& files, int rounds)
{
    const auto dir = std::filesystem::temp_directory_path() / ("brivana-lock-bench-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string folder = dir.string() + "/";
    // The flood's scores go round below the honest ones: after the first lap its saves only
    // take the lock and read.
    std::atomic<int> score{0};
    std::atomic<bool> stop{false};
    std::atomic<long> floodSaves{0};
    std::vector<std::thread> flooders;
    for (int i = 0; i < 3; ++i)
        flooders.emplace_back([&] {
            while (!stop) {
                RecordStore(files, folder).SaveRecord(std::to_string(score.fetch_add(1) % 30000 + 1), "Flood");
                ++floodSaves;
            }
        });
    Figures figures;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto start = Clock::now();
    for (int round = 0; round < rounds; ++round) {
        auto t = Clock::now();
        RecordStore(files, folder).Read();
        figures.reads.push_back(Ms(Clock::now() - t).count());
        t = Clock::now();
        const SaveResult result = RecordStore(files, folder).SaveRecord(std::to_string(30001 + round), "Onesto");
        figures.saves.push_back(Ms(Clock::now() - t).count());
        (result.outcome == SaveOutcome::saved       ? figures.saved
         : result.outcome == SaveOutcome::notBetter ? figures.notBetter
                                                    : figures.refused)++;
        // A pupil plays a while between two saves.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    figures.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    stop = true;
    for (auto& flooder : flooders) flooder.join();
    figures.floodSaves = floodSaves;
    std::filesystem::remove_all(dir);
    return figures;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    PollingLockFiles polling;
    SystemFileAccess kernel;
    const Figures before = Run(polling, rounds);
    const Figures after = Run(kernel, rounds);
    std::printf("Three games flooding saves, one honest game: %d reads and %d saves of his\n", rounds, rounds);
    std::printf("%-34s %14s %14s %10s\n", "", "before: poll", "after: kernel", "ratio");
    const auto row = [](const char* what, double b, double a) {
        std::printf("%-34s %14.1f %14.1f %9.1fx\n", what, b, a, a > 0 ? b / a : 0.0);
    };
    row("read wait, median (ms)", Median(before.reads), Median(after.reads));
    row("read wait, max (ms)", Max(before.reads), Max(after.reads));
    row("save wait, median (ms)", Median(before.saves), Median(after.saves));
    row("save wait, max (ms)", Max(before.saves), Max(after.saves));
    std::printf("%-34s %14d %14d\n", "his saves refused as busy", before.refused, after.refused);
    std::printf("%-34s %8d / %3d %8d / %3d\n", "his saves saved / not better", before.saved, before.notBetter,
                after.saved, after.notBetter);
    std::printf("%-34s %14.0f %14.0f\n", "flood saves per second", before.floodSaves / before.seconds,
                after.floodSaves / after.seconds);
    return 0;
}
