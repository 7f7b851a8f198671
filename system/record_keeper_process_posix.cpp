#include "system/record_keeper_process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <grp.h>
#include <sys/resource.h>
#include <vector>
#include <sys/socket.h>
#include <unistd.h>

#include "game/keeper_requests.h"
#include "game/register_store.h"
#include "system/keeper_answers.h"
#include "system/lab_setting.h"
#include "system/system_record_place.h"

namespace brivana {

namespace {

const char* const kKeeperGone = "Non riesco a parlare con il processo che custodisce il record.";

bool SendAll(int socket, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t sent = ::send(socket, data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

bool ReceiveAll(int socket, char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t got = ::recv(socket, data, size, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        data += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

bool SendFrame(int socket, const std::string& payload)
{
    const std::string frame = FrameOf(payload);
    return SendAll(socket, frame.data(), frame.size());
}

// A frame larger than limit is not read: the conversation ends there.
bool ReceiveFrame(int socket, std::uint32_t limit, std::string& payload)
{
    unsigned char header[kFrameHeaderSize];
    if (!ReceiveAll(socket, reinterpret_cast<char*>(header), sizeof header)) return false;
    const auto size = FramePayloadSize(header, limit);
    if (!size) return false;
    payload.assign(*size, '\0');
    return ReceiveAll(socket, payload.data(), *size);
}

// One request and its answer; nothing when the keeper is gone.
std::optional<std::string> Ask(int socket, const std::string& request)
{
    std::string answer;
    if (!SendFrame(socket, request) || !ReceiveFrame(socket, kAnswerLimit, answer)) return std::nullopt;
    return answer;
}

// The keeper needs little, and a process of the owner of the shared folder should be able to
// do no more: no core file of it, no process started from it, few files, small ones. Limits
// the player set lower stay lower; the keeper does not rely on any of them holding.
bool LowerResourceLimits()
{
    constexpr struct { int resource; rlim_t most; } kLimits[] = {
        {RLIMIT_CORE, 0},           {RLIMIT_NPROC, 0},    {RLIMIT_NOFILE, 16},
        {RLIMIT_FSIZE, 2 * kRegisterSizeLimit}, {RLIMIT_MEMLOCK, 0}, {RLIMIT_MSGQUEUE, 0},
    };
    for (const auto& [resource, most] : kLimits) {
        rlimit limit {};
        if (::getrlimit(resource, &limit) != 0) return false;
        limit.rlim_max = std::min(limit.rlim_max, most);
        limit.rlim_cur = std::min(limit.rlim_cur, limit.rlim_max);
        if (::setrlimit(resource, &limit) != 0) return false;
    }
    return true;
}

}  // namespace

bool TakeKeeperIdentity()
{
    uid_t realUser, effectiveUser, savedUser;
    gid_t realGroup, effectiveGroup, savedGroup;
    if (::getresuid(&realUser, &effectiveUser, &savedUser) != 0 ||
        ::getresgid(&realGroup, &effectiveGroup, &savedGroup) != 0)
        return false;
    // Wholly the owner of the shared folder, so that the player can neither signal nor trace
    // this process, and deaf to the terminal, so that a save always runs to its end. A file
    // grown past its limit fails to write rather than ending the process half-way.
    if (::setresgid(effectiveGroup, effectiveGroup, effectiveGroup) != 0 ||
        ::setresuid(effectiveUser, effectiveUser, effectiveUser) != 0)
        return false;
    for (int number : {SIGINT, SIGQUIT, SIGHUP, SIGTSTP, SIGTTIN, SIGTTOU, SIGXFSZ}) std::signal(number, SIG_IGN);
    return true;
}

namespace {

// Before any toolkit can run: the player reads this in the terminal, if anywhere.
[[noreturn]] void CannotDropRights()
{
    std::fputs("brivana: non riesco a rinunciare ai permessi del programma installato; il gioco non parte.\n",
               stderr);
    std::_Exit(1);
}

}  // namespace

KeeperConnection::KeeperConnection(int socket, std::string sharedDir, RecordKeeper& local)
    : socket_(socket), sharedDir_(std::move(sharedDir)), local_(local)
{
}

KeeperConnection::~KeeperConnection() { ::close(socket_); }

bool KeeperConnection::canKeepShared(const std::string& dir)
{
    if (dir != sharedDir_) return false;
    const auto answer = Ask(socket_, EncodeCanKeepRequest());
    return answer && DecodeCanKeepAnswer(*answer).value_or(false);
}

RecordReading KeeperConnection::read(const std::string& dir)
{
    if (dir != sharedDir_) return local_.read(dir);
    const auto answer = Ask(socket_, EncodeReadRequest());
    auto reading = answer ? DecodeReadAnswer(*answer) : std::nullopt;
    if (!reading) return RecordReading{{}, {}, false, {kKeeperGone}};
    return std::move(*reading);
}

SaveResult KeeperConnection::save(const std::string& dir, const std::string& scoreText, const std::string& holderName)
{
    if (dir != sharedDir_) return local_.save(dir, scoreText, holderName);
    const auto answer = Ask(socket_, EncodeSaveRequest(scoreText, holderName));
    auto result = answer ? DecodeSaveAnswer(*answer) : std::nullopt;
    if (!result) return {SaveOutcome::failedUnsure, kKeeperGone};
    return std::move(*result);
}

RegisterResult KeeperConnection::appendResult(const std::string& dir, const GameResult& result)
{
    if (dir != sharedDir_) return local_.appendResult(dir, result);
    const auto answer = Ask(socket_, EncodeAppendRequest(result));
    auto done = answer ? DecodeRegisterAnswer(*answer) : std::nullopt;
    if (!done) return {false, kKeeperGone};
    return std::move(*done);
}

RegisterResult KeeperConnection::clearSchoolYear(const std::string& dir, int schoolYear)
{
    if (dir != sharedDir_) return local_.clearSchoolYear(dir, schoolYear);
    const auto answer = Ask(socket_, EncodeClearRequest(schoolYear));
    auto done = answer ? DecodeRegisterAnswer(*answer) : std::nullopt;
    if (!done) return {false, kKeeperGone};
    return std::move(*done);
}

void ServeRecordRequests(int socket, KeeperAnswers& answers, const KeeperCaller& caller)
{
    std::string payload;
    while (ReceiveFrame(socket, kRequestLimit, payload)) {
        const auto request = DecodeRequest(payload);
        if (!request || !SendFrame(socket, answers.answer(*request, caller))) return;
    }
}

void ServeRecordRequests(int socket, const std::string& sharedDir, const KeeperCaller& caller)
{
    KeeperAnswers answers({sharedDir, {}});
    ServeRecordRequests(socket, answers, caller);
}

bool PlayerIsTeacher()
{
    group entry {};
    group* found = nullptr;
    // A group of many teachers needs a larger buffer than most.
    std::vector<char> buffer(16 * 1024);
    int error = 0;
    while ((error = ::getgrnam_r(kTeachersGroup, &entry, buffer.data(), buffer.size(), &found)) == ERANGE &&
           buffer.size() < 4 * 1024 * 1024)
        buffer.resize(buffer.size() * 2);
    if (error != 0 || !found) return false;
    if (::getgid() == found->gr_gid) return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0) return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = ::getgroups(count, groups.data());
    return got > 0 && std::find(groups.begin(), groups.begin() + got, found->gr_gid) != groups.begin() + got;
}

std::unique_ptr<KeeperConnection> SplitOffRecordKeeper(RecordKeeper& local)
{
    uid_t realUser, effectiveUser, savedUser;
    gid_t realGroup, effectiveGroup, savedGroup;
    if (::getresuid(&realUser, &effectiveUser, &savedUser) != 0 ||
        ::getresgid(&realGroup, &effectiveGroup, &savedGroup) != 0)
        CannotDropRights();
    if (effectiveUser == realUser && savedUser == realUser && effectiveGroup == realGroup && savedGroup == realGroup)
        return nullptr;

    // Asked of the system while the real ids are still the player's: the keeper alone uses it.
    const KeeperCaller caller{PlayerIsTeacher(), {}};
    int ends[2];
    pid_t keeper = -1;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) == 0) {
        keeper = ::fork();
        if (keeper == 0) {
            ::close(ends[0]);
            if (!TakeKeeperIdentity()) std::_Exit(1);
            ::close_range(3, static_cast<unsigned>(ends[1]) - 1, 0);
            ::close_range(static_cast<unsigned>(ends[1]) + 1, ~0U, 0);
            // With a lab folder the answers start their server worker: a thread, made before the
            // limits allow no more.
            KeeperAnswers answers({SharedRecordDirectory(), LabRecordDirectory()});
            if (!LowerResourceLimits()) std::_Exit(1);
            ServeRecordRequests(ends[1], answers, caller);
            // A worker stuck on a hung server ends with the process.
            std::_Exit(0);
        }
        ::close(ends[1]);
        if (keeper < 0) ::close(ends[0]);
    }

    // The window's process: real, effective and saved ids all become the player's, for good.
    // Supplementary groups are the player's own already: starting the program does not change them.
    if (::setresgid(realGroup, realGroup, realGroup) != 0 || ::setresuid(realUser, realUser, realUser) != 0)
        CannotDropRights();
    uid_t users[3];
    gid_t groups[3];
    if (::getresuid(&users[0], &users[1], &users[2]) != 0 || ::getresgid(&groups[0], &groups[1], &groups[2]) != 0)
        CannotDropRights();
    for (int i = 0; i < 3; ++i)
        if (users[i] != realUser || groups[i] != realGroup) CannotDropRights();
    if (keeper < 0) return nullptr;
    return std::make_unique<KeeperConnection>(ends[0], SharedRecordDirectory(), local);
}

}  // namespace brivana
