// A computer of scripts/check-windows-lab.sh, told BRIVANA_LAB_DIR and BRIVANA_LAB_ACT: "wait MS" for
// the lab folder's lock, or "hold MS" (waits as long, then holds it until the folder has a file
// "release"); through the service, "read", "save SCORE", "register SECONDS" (a game of pupil
// "Gara SECONDS" for the register) or "race FIRST STEP COUNT" (each score saved as "P<score>", then
// read: never a torn pair or a worse record than seen).
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <memory>
#include <cstdio>
#include <sstream>

#include "game/record_store.h"
#include "system/record_pipe_windows.h"
#include "system/system_file_access.h"
#include "system/system_record_place.h"
#include "fake_services.h"
#include "windows_files.h"

namespace brivana::windows_test {
namespace {

// The score of a pair saved whole, 0 for the empty record, -1 for anything else.
int WholePairScore(const RecordReading& reading)
{
    const std::string score = reading.score.substr(0, reading.score.find('\r'));
    if (!reading.complete || (score.empty() != reading.holder.empty())) return -1;
    return score.empty() ? 0 : reading.holder == std::string("P").append(score).append("\r\n") ? std::stoi(score) : -1;
}

TEST(LabComputer, Acts)
{
    const std::string dir = Environment("BRIVANA_LAB_DIR");
    if (dir.empty()) GTEST_SKIP() << "only as a computer of scripts/check-windows-lab.sh";
    std::istringstream act(Environment("BRIVANA_LAB_ACT"));
    std::string what;
    int first = 0, step = 0, count = 0;
    act >> what >> first >> step >> count;
    const DWORD start = GetTickCount();
    SystemFileAccess files;
    std::unique_ptr<FileLock> lock;
    if (what == "hold" || what == "wait") {
        const bool got = files.lockFolder(dir, std::chrono::milliseconds(first), lock).ok();
        std::printf("%s after %lu ms\n", got ? "got" : "busy", GetTickCount() - start);
        std::fflush(stdout);
        // Bounded, so that a check that dies before releasing it leaves no computer holding on.
        const std::string release = dir + "release";
        for (int waited = 0; got && what == "hold" && waited < 120000; waited += 50) {
            if (GetFileAttributesA(release.c_str()) != INVALID_FILE_ATTRIBUTES) break;
            Sleep(50);
        }
        return;
    }
    testing::FixedRegisterStamps stamps;
    LocalRecordKeeper own(files, stamps);
    const std::string shared = SharedRecordDirectory();  // the service goes on to the lab's folder
    const auto service = RecordPipeClient::Find(InstalledRecordPipe(), shared, own);
    ASSERT_NE(service, nullptr);
    const auto save = [&](int score) {
        return service->save(shared, std::to_string(score), std::string("P").append(std::to_string(score)));
    };
    if (what == "read") {
        const RecordReading reading = service->read(shared);
        std::printf("record %d\nread in %lu ms\n", WholePairScore(reading), GetTickCount() - start);
        for (const std::string& problem : reading.problems) std::printf("problem %s\n", problem.c_str());
    } else if (what == "save") {
        const char* const outcomes[] = {"saved", "not better", "failed", "failed unsure", "kept"};
        std::printf("%s in %lu ms\n", outcomes[static_cast<int>(save(first).outcome)], GetTickCount() - start);
    } else if (what == "register") {
        const RegisterResult written =
            service->appendResult(shared, {"Gara " + std::to_string(first), 1, 0, 1, first, GameEnding::exit, false});
        std::printf("%s in %lu ms\n", written.done ? "written" : "not written", GetTickCount() - start);
        if (!written.done) std::printf("problem %s\n", written.why.c_str());
    }
    // A race starts when the script makes the file go on the server, so that both computers start together.
    while (what == "race" && GetFileAttributesA("\\\\server\\share\\go") == INVALID_FILE_ATTRIBUTES) Sleep(10);
    int best = WholePairScore(service->read(shared)), saved = 0;
    for (int round = 0, score = first; what == "race" && round < count; ++round, score += step) {
        const SaveResult result = save(score);
        ASSERT_TRUE(result.outcome == SaveOutcome::saved || result.outcome == SaveOutcome::notBetter) << result.why;
        saved += result.outcome == SaveOutcome::saved;
        const int seen = WholePairScore(service->read(shared));
        ASSERT_GE(seen, std::max(best, score)) << "a torn pair, or a worse record than one seen, after " << score;
        best = seen;
    }
    if (what == "race") std::printf("saved %d, not better %d, record %d\n", saved, count - saved, best);
}

}  // namespace
}  // namespace brivana::windows_test
