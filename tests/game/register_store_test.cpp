// The register file: appends stopped at any step, or racing from several processes, leave
// whole lines only.
#include "game/register_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
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
    for (std::size_t at = 0, end = 0; at < content.size(); at = end + 1) {
        end = std::min(content.find('\n', at), content.size());
        const auto line = DecodeRegisterLine(content.substr(at, end + 1 - at));
        pupils.push_back(line && end < content.size() ? line->result.pupil : "<broken>");
    }
    return pupils;
}

TEST(RegisterAppend, StoppedOrFailingAtAnyStepLeavesTheLineWholeOrAbsent)
{
    const std::map<std::string, std::string> before{{kFile, EncodeRegisterLine(LineOf("Bea", 3))}};
    PowerCutFiles whole(before);
    ASSERT_TRUE(RegisterStore(whole, "/r/").Append(LineOf("Anna", 7)).done);
    for (int step = 1; step <= whole.steps; ++step)
        for (const int fault : {0, 1, 2})
            for (const std::optional<unsigned> way : {std::optional<unsigned>(), std::optional<unsigned>(0u)}) {
                SCOPED_TRACE("step " + std::to_string(step) + " fault " + std::to_string(fault) + (way ? " power cut" : " killed"));
                PowerCutFiles files(before);
                files.tornTails = true;
                if (fault == 0) files.stopAfterStep = step;
                else if (fault == 1) files.failFromStep = step;
                else files.failSteps = {step};
                const bool done = RegisterStore(files, "/r/").Append(LineOf("Anna", 7)).done;
                EXPECT_EQ(files.stepsWithoutLock, 0);
                PowerCutFiles next = files.restarted(way);
                ASSERT_TRUE(RegisterStore(next, "/r/").Append(LineOf("Carlo", 1)).done);
                const auto pupils = Pupils(next.content(kFile).value_or(""));
                // An append reported done is on the disk, whatever comes after; any other may be absent.
                const std::vector<std::string> withAnna{"Bea", "Anna", "Carlo"};
                EXPECT_TRUE(pupils == withAnna || (!done && pupils == std::vector<std::string>{"Bea", "Carlo"}))
                    << ::testing::PrintToString(pupils);
            }
}

TEST(RegisterAppend, JunkThatIsNoLineOfOursStaysAndTheNextLineStartsAfresh)
{
    PowerCutFiles files(std::map<std::string, std::string>{{kFile, EncodeRegisterLine(LineOf("Bea", 3)) + std::string(kRegisterLineLimit + 9, '\1')}});
    ASSERT_TRUE(RegisterStore(files, "/r/").Append(LineOf("Anna", 7)).done);
    EXPECT_EQ(Pupils(*files.content(kFile)), (std::vector<std::string>{"Bea", "<broken>", "Anna"}));
}

#ifndef _WIN32
TEST(RegisterAppend, GamesAppendingAtOnceFromSeveralProcessesNeverMixTheirLines)
{
    TempDir dir;
    constexpr int kProcesses = 4;
    constexpr int kLines = 40;
    // Four games append lines of their own length; a fifth appends until it is killed.
    std::vector<pid_t> children;
    for (int p = 0; p <= kProcesses; ++p) {
        children.push_back(::fork());
        ASSERT_GE(children.back(), 0);
        if (children.back() != 0) continue;
        SystemFileAccess files;
        for (int i = 0; i < kLines || p == kProcesses; ++i)
            if (!RegisterStore(files, dir.recordDir()).Append(LineOf(std::string(200 + p, 'a'), i)).done) ::_exit(1);
        ::_exit(0);
    }
    ::usleep(20000);
    ::kill(children.back(), SIGKILL);
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(child == children.back() || (WIFEXITED(status) && WEXITSTATUS(status) == 0));
    }
    SystemFileAccess files;
    ASSERT_TRUE(RegisterStore(files, dir.recordDir()).Append(LineOf("last", 1)).done);
    const std::vector<std::string> pupils = Pupils(ReadBytes(dir.file(kFile)));
    EXPECT_EQ(std::count(pupils.begin(), pupils.end(), "<broken>"), 0);
    for (int p = 0; p < kProcesses; ++p) EXPECT_EQ(std::count(pupils.begin(), pupils.end(), std::string(200 + p, 'a')), kLines);
    // Readable by its owner and the folder's group only.
    using std::filesystem::perms;
    EXPECT_EQ(std::filesystem::status(dir.file(kFile)).permissions(), perms::owner_read | perms::owner_write | perms::group_read);
}
#endif

}  // namespace
}  // namespace brivana::testing
