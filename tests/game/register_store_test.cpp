// The register file: appends stopped at any step, or racing from several processes, leave
// whole lines only; a clearing is for teachers.
#include "game/register_store.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <vector>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "fake_services.h"
#include "power_cut_files.h"
#include "system/system_file_access.h"

namespace brivana::testing {
namespace {

const std::string kFile = RegisterFileName(2026);

RegisterLine LineOf(const std::string& pupil, int right)
{
    return {kRegisterNow, "AULA-3", {pupil, right, 0, right, 60, GameEnding::exit, false}};
}

// The pupils of the register's lines, in order; a line that does not decode is "<broken>".
std::vector<std::string> Pupils(const std::string& content)
{
    std::vector<std::string> pupils;
    std::size_t at = 0;
    while (at < content.size()) {
        const std::size_t end = content.find('\n', at);
        const auto line = DecodeRegisterLine(content.substr(at, end == std::string::npos ? end : end + 1 - at));
        pupils.push_back(line && end != std::string::npos ? line->result.pupil : "<broken>");
        at = end == std::string::npos ? content.size() : end + 1;
    }
    return pupils;
}

TEST(RegisterAppend, StoppedOrFailingAtAnyStepLeavesTheLineWholeOrAbsent)
{
    const std::string before = EncodeRegisterLine(LineOf("Bea", 3));
    int steps = 0;
    {
        PowerCutFiles files(std::map<std::string, std::string>{{kFile, before}});
        ASSERT_TRUE(RegisterStore(files, "/r/").Append(LineOf("Anna; \"A\"", 7)).done);
        steps = files.steps;
    }
    for (int step = 1; step <= steps; ++step) {
        const std::vector<std::pair<std::string, std::function<void(PowerCutFiles&)>>> faults{
            {"stopped", [&](PowerCutFiles& files) { files.stopAfterStep = step; }},
            {"failing on", [&](PowerCutFiles& files) { files.failSteps = {step}; }},
            {"failing from", [&](PowerCutFiles& files) { files.failFromStep = step; }},
        };
        for (const auto& [name, fault] : faults)
            for (const std::optional<unsigned> way : {std::optional<unsigned>(), std::optional<unsigned>(0u)}) {
                SCOPED_TRACE("step " + std::to_string(step) + " " + name + (way ? ", power cut" : ", killed"));
                PowerCutFiles files(std::map<std::string, std::string>{{kFile, before}});
                files.tornTails = true;
                fault(files);
                const bool done = RegisterStore(files, "/r/").Append(LineOf("Anna; \"A\"", 7)).done;
                EXPECT_EQ(files.stepsWithoutLock, 0);
                PowerCutFiles next = files.restarted(way);
                ASSERT_TRUE(RegisterStore(next, "/r/").Append(LineOf("Carlo", 1)).done);
                const auto pupils = Pupils(next.content(kFile).value_or(""));
                const bool withAnna = pupils == std::vector<std::string>{"Bea", "Anna; \"A\"", "Carlo"};
                const bool withoutAnna = pupils == std::vector<std::string>{"Bea", "Carlo"};
                EXPECT_TRUE(withAnna || withoutAnna) << ::testing::PrintToString(pupils);
                // An append reported done is on the disk, whatever comes after.
                if (done) {
                    EXPECT_TRUE(withAnna);
                }
            }
    }
}

TEST(RegisterAppend, JunkThatIsNoLineOfOursStaysAndTheNextLineStartsAfresh)
{
    const std::string junk(kRegisterLineLimit + 10, '\x01');
    PowerCutFiles files(std::map<std::string, std::string>{{kFile, EncodeRegisterLine(LineOf("Bea", 3)) + junk}});
    ASSERT_TRUE(RegisterStore(files, "/r/").Append(LineOf("Anna", 7)).done);
    EXPECT_EQ(Pupils(*files.content(kFile)), (std::vector<std::string>{"Bea", "<broken>", "Anna"}));
    // A register past its bound takes no more lines, and says so.
    PowerCutFiles full(std::map<std::string, std::string>{{kFile, std::string(kRegisterSizeLimit - 10, '\n')}});
    const RegisterResult refused = RegisterStore(full, "/r/").Append(LineOf("Anna", 7));
    EXPECT_FALSE(refused.done);
    EXPECT_NE(refused.why.find("troppo grande"), std::string::npos);
}

#ifndef _WIN32
TEST(RegisterAppend, GamesAppendingAtOnceFromSeveralProcessesNeverMixTheirLines)
{
    TempDir dir;
    constexpr int kProcesses = 4;
    constexpr int kLines = 40;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SystemFileAccess files;
            for (int i = 0; i < kLines; ++i)
                if (!RegisterStore(files, dir.recordDir()).Append(LineOf(std::string(200 + p, 'a' + p), i)).done)
                    ::_exit(1);
            ::_exit(0);
        }
        children.push_back(child);
    }
    // One more game, killed while it appends over and over.
    const pid_t killed = ::fork();
    ASSERT_GE(killed, 0);
    if (killed == 0) {
        SystemFileAccess files;
        for (;;) RegisterStore(files, dir.recordDir()).Append(LineOf("killed", 1));
    }
    ::usleep(20000);
    ::kill(killed, SIGKILL);
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ::waitpid(killed, nullptr, 0);
    SystemFileAccess files;
    ASSERT_TRUE(RegisterStore(files, dir.recordDir()).Append(LineOf("last", 1)).done);
    std::vector<int> counts(kProcesses);
    for (const std::string& pupil : Pupils(ReadBytes(dir.file(kFile)))) {
        ASSERT_NE(pupil, "<broken>");
        if (pupil.size() >= 200) ++counts[static_cast<std::size_t>(pupil.size() - 200)];
    }
    EXPECT_EQ(counts, std::vector<int>(kProcesses, kLines));
    // Readable by its owner and the folder's group only.
    EXPECT_EQ(std::filesystem::status(dir.file(kFile)).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}
#endif

}  // namespace
}  // namespace brivana::testing
