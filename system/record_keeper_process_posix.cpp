#include "system/record_keeper_process.h"

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

#include "game/record_store.h"
#include "system/file_access.h"
#include "system/record_place.h"

namespace brivana {

namespace {

// A request is a frame of one byte naming it, then its texts; so is each answer.
constexpr char kCanKeep = 'W';
constexpr char kRead = 'R';
constexpr char kSave = 'S';
// Larger than any request or answer about two record files can be.
constexpr std::uint32_t kFrameLimit = 8 * kRecordReadLimit;

const char* const kKeeperGone = "Non riesco a parlare con il processo che custodisce il record.";

void PutText(std::string& frame, const std::string& text)
{
    const auto size = static_cast<std::uint32_t>(text.size());
    for (int shift = 0; shift < 32; shift += 8) frame += static_cast<char>((size >> shift) & 0xFF);
    frame += text;
}

// Reads a frame's parts in order; once one is missing every later one is too.
class FrameReader {
public:
    explicit FrameReader(const std::string& frame) : frame_(frame) {}

    std::optional<char> byte()
    {
        if (at_ >= frame_.size()) return std::nullopt;
        return frame_[at_++];
    }
    std::optional<std::string> text()
    {
        if (frame_.size() - at_ < 4) return std::nullopt;
        std::uint32_t size = 0;
        for (int i = 0; i < 4; ++i) size |= std::uint32_t{static_cast<unsigned char>(frame_[at_ + i])} << (8 * i);
        at_ += 4;
        if (frame_.size() - at_ < size) return std::nullopt;
        std::string text = frame_.substr(at_, size);
        at_ += size;
        return text;
    }
    bool atEnd() const { return at_ == frame_.size(); }

private:
    const std::string& frame_;
    std::size_t at_ = 0;
};

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
    std::string frame;
    PutText(frame, payload);
    return SendAll(socket, frame.data(), frame.size());
}

bool ReceiveFrame(int socket, std::string& payload)
{
    unsigned char size[4];
    if (!ReceiveAll(socket, reinterpret_cast<char*>(size), sizeof size)) return false;
    const std::uint32_t length = size[0] | (size[1] << 8) | (size[2] << 16) | (std::uint32_t{size[3]} << 24);
    if (length > kFrameLimit) return false;
    payload.assign(length, '\0');
    return ReceiveAll(socket, payload.data(), length);
}

// One request and its answer; nothing when the keeper is gone.
std::optional<std::string> Ask(int socket, const std::string& request)
{
    std::string answer;
    if (!SendFrame(socket, request) || !ReceiveFrame(socket, answer)) return std::nullopt;
    return answer;
}

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
    const auto answer = Ask(socket_, std::string(1, kCanKeep));
    return answer && *answer == "1";
}

RecordReading KeeperConnection::read(const std::string& dir)
{
    if (dir != sharedDir_) return local_.read(dir);
    RecordReading reading;
    const auto answer = Ask(socket_, std::string(1, kRead));
    if (!answer) {
        reading.problems.push_back(kKeeperGone);
        return reading;
    }
    FrameReader in(*answer);
    auto score = in.text();
    auto holder = in.text();
    reading.score = score.value_or("");
    reading.holder = holder.value_or("");
    while (auto problem = in.text()) reading.problems.push_back(std::move(*problem));
    if (!score || !holder || !in.atEnd()) reading.problems.push_back(kKeeperGone);
    return reading;
}

SaveResult KeeperConnection::save(const std::string& dir, const std::string& scoreText, const std::string& holderName)
{
    if (dir != sharedDir_) return local_.save(dir, scoreText, holderName);
    std::string request(1, kSave);
    PutText(request, scoreText);
    PutText(request, holderName);
    const auto answer = Ask(socket_, request);
    if (!answer) return {SaveOutcome::failedUnsure, kKeeperGone};
    FrameReader in(*answer);
    const auto outcome = in.byte();
    auto why = in.text();
    if (!outcome || !why || !in.atEnd() || *outcome < 0 || *outcome > static_cast<char>(SaveOutcome::failedUnsure))
        return {SaveOutcome::failedUnsure, kKeeperGone};
    return {static_cast<SaveOutcome>(*outcome), std::move(*why)};
}

void ServeRecordRequests(int socket, const std::string& sharedDir)
{
    SystemFileAccess files;
    std::string request;
    while (ReceiveFrame(socket, request)) {
        FrameReader in(request);
        const auto kind = in.byte();
        std::string answer;
        if (kind == kCanKeep && in.atEnd()) {
            answer.push_back(CanKeepRecordsIn(sharedDir) ? '1' : '0');
        } else if (kind == kRead && in.atEnd()) {
            const RecordReading reading = RecordStore(files, sharedDir).Read();
            PutText(answer, reading.score);
            PutText(answer, reading.holder);
            for (const std::string& problem : reading.problems) PutText(answer, problem);
        } else if (kind == kSave) {
            const auto score = in.text();
            const auto holder = in.text();
            if (!score || !holder || !in.atEnd() || holder->size() > kRecordReadLimit) return;
            const SaveResult result = RecordStore(files, sharedDir).SaveRecord(*score, *holder);
            answer = std::string(1, static_cast<char>(result.outcome));
            PutText(answer, result.why);
        } else {
            return;
        }
        if (!SendFrame(socket, answer)) return;
    }
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

    int ends[2];
    pid_t keeper = -1;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) == 0) {
        keeper = ::fork();
        if (keeper == 0) {
            // The keeper: wholly the owner of the shared folder, so that the player can neither
            // signal nor trace it, and deaf to the terminal, so that a save always runs to its end.
            ::close(ends[0]);
            if (::setresgid(effectiveGroup, effectiveGroup, effectiveGroup) != 0 ||
                ::setresuid(effectiveUser, effectiveUser, effectiveUser) != 0)
                std::_Exit(1);
            for (int number : {SIGINT, SIGQUIT, SIGHUP, SIGTSTP, SIGTTIN, SIGTTOU}) std::signal(number, SIG_IGN);
            ::close_range(3, static_cast<unsigned>(ends[1]) - 1, 0);
            ::close_range(static_cast<unsigned>(ends[1]) + 1, ~0U, 0);
            ServeRecordRequests(ends[1], SharedRecordDirectory());
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
