// The split that starts the installed game: run for real, as a set-user-id start would leave a
// process, and the keeper looked at from outside through /proc.
#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "game/record_store.h"
#include "game/register_store.h"
#include "system/record_keeper_process.h"
#include "system/system_file_access.h"
#include "system/system_record_place.h"
#include "fake_services.h"

namespace brivana::testing {
namespace {

constexpr uid_t kPlayer = 23456, kOwner = 23457;  // the pupil, and the owner of the shared folder
constexpr gid_t kPlayerGroup = 23458, kOwnerGroup = 23459;

// The words after name on its line of /proc/<pid>/<file>, one space apart.
std::string Field(int pid, const std::string& file, const std::string& name)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/" + file);
    std::string line, word, words;
    while (std::getline(in, line) && line.compare(0, name.size(), name) != 0) line.clear();
    for (std::istringstream rest(line.substr(std::min(name.size(), line.size()))); rest >> word;)
        words += (words.empty() ? "" : " ") + word;
    return words;
}

// The kernel objects behind a process's descriptors, by descriptor number.
std::map<int, std::string> Descriptors(int pid)
{
    std::map<int, std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd"))
        found[std::stoi(entry.path().filename())] = std::filesystem::read_symlink(entry.path()).string();
    return found;
}

TEST(KeeperSplit, LeavesTheKeeperWhollyTheOwnerAloneWithItsSocketDeafAndLimitedAndTheWindowWhollyThePlayer)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs root, to set the ids a set-user-id start leaves; run as root to check the split";
    int report[2], done[2];
    ASSERT_EQ(::pipe(report), 0);
    ASSERT_EQ(::pipe(done), 0);
    const pid_t window = ::fork();
    ASSERT_GE(window, 0);
    if (window == 0) {
        // As the set-user-id game starts: real ids the player's, effective and saved the owner's.
        ::close(report[0]);
        ::close(done[1]);
        const int playerFile = ::open("/dev/null", O_RDONLY);  // a descriptor the player handed down
        if (::setgroups(0, nullptr) != 0 || ::setresgid(kPlayerGroup, kOwnerGroup, kOwnerGroup) != 0 ||
            ::setresuid(kPlayer, kOwner, kOwner) != 0 || playerFile < 0)
            ::_exit(2);
        SystemFileAccess files;
        FixedRegisterStamps stamps;
        LocalRecordKeeper local(files, stamps);
        const auto keeper = SplitOffRecordKeeper(local);
        // Answered only once the keeper has set itself up.
        if (keeper) keeper->canKeepShared(SharedRecordDirectory());
        std::ifstream children("/proc/self/task/" + std::to_string(::getpid()) + "/children");
        int keeperPid = 0;
        children >> keeperPid;
        const std::string line = std::to_string(keeper ? keeperPid : 0) + " " + std::to_string(playerFile) + "\n";
        if (::write(report[1], line.data(), line.size()) < 0) ::_exit(3);
        char end;
        while (::read(done[0], &end, 1) < 0) {
        }
        ::_exit(0);
    }
    ::close(report[1]);
    ::close(done[0]);
    char buffer[64] = {};
    ASSERT_GT(::read(report[0], buffer, sizeof buffer - 1), 0);
    int keeper = 0, playerFile = -1;
    std::istringstream(buffer) >> keeper >> playerFile;
    ASSERT_GT(keeper, 0) << "no keeper was started";

    // Real, effective, saved and file-system ids.
    const auto four = [](unsigned id) { return std::to_string(id) + " " + std::to_string(id) + " " + std::to_string(id) + " " + std::to_string(id); };
    EXPECT_EQ(Field(keeper, "status", "Uid:"), four(kOwner));
    EXPECT_EQ(Field(keeper, "status", "Gid:"), four(kOwnerGroup));
    EXPECT_EQ(Field(window, "status", "Uid:"), four(kPlayer));
    EXPECT_EQ(Field(window, "status", "Gid:"), four(kPlayerGroup));

    const unsigned long long ignored = std::stoull(Field(keeper, "status", "SigIgn:"), nullptr, 16);
    for (int number : {SIGINT, SIGQUIT, SIGHUP, SIGTSTP, SIGTTIN, SIGTTOU, SIGXFSZ})
        EXPECT_TRUE(ignored & (1ULL << (number - 1))) << "signal " << number << " is not ignored";

    // A register may grow to its limit; a file written past twice that fails rather than growing.
    const std::string fileSize = std::to_string(2 * kRegisterSizeLimit);
    const std::string fileSizes = fileSize + " " + fileSize + " bytes";
    const std::pair<const char*, const char*> limits[] = {
        {"Max core file size", "0 0 bytes"},   {"Max processes", "0 0 processes"},
        {"Max open files", "16 16 files"},     {"Max file size", fileSizes.c_str()},
        {"Max locked memory", "0 0 bytes"},    {"Max msgqueue size", "0 0 bytes"},
    };
    for (const auto& [name, value] : limits) EXPECT_EQ(Field(keeper, "limits", name), value) << name;

    // The keeper holds the standard three and its end of the socket; the window its own end only.
    const auto keeperFds = Descriptors(keeper);
    const auto windowFds = Descriptors(window);
    std::set<std::string> keeperSockets, windowSockets;
    for (const auto& [fd, what] : keeperFds) {
        if (fd <= 2) continue;
        EXPECT_TRUE(what.starts_with("socket:")) << "the keeper holds " << fd << " -> " << what;
        keeperSockets.insert(what);
    }
    EXPECT_FALSE(keeperFds.contains(playerFile)) << "the player's descriptor reached the keeper";
    for (const auto& [fd, what] : windowFds)
        if (what.starts_with("socket:")) windowSockets.insert(what);
    EXPECT_EQ(keeperSockets.size(), 1u);
    EXPECT_EQ(windowSockets.size(), 1u);
    for (const std::string& socket : keeperSockets) EXPECT_FALSE(windowSockets.contains(socket)) << "both ends in both";

    ASSERT_EQ(::write(done[1], "x", 1), 1);
    int status = 0;
    ::waitpid(window, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    ::close(report[0]);
    ::close(done[1]);
}

}  // namespace
}  // namespace brivana::testing
