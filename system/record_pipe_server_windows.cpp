// The record service's side of the pipe: one thread listens, one thread serves each connection.
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "game/keeper_requests.h"
#include "system/error_text.h"
#include "system/keeper_answers.h"
#include "system/owned_handle_windows.h"
#include "system/pipe_io_windows.h"
#include "system/record_pipe_windows.h"
#include "system/record_security_windows.h"
#include "system/turns.h"
#include "system/register_security_windows.h"
#include "system/wide_text_windows.h"

namespace brivana {

namespace {

constexpr DWORD kPipeBufferSize = 64 * 1024;

// Who is on the other end of a connection: the process (0 when Windows does not say) and the user.
struct Client {
    ULONG process = 0;
    std::string user;
};

// What every connection shares: the record, one request at a time, and the count of connections.
class Serving {
public:
    // serviceSid: the account the service runs as, which creates the register files.
    Serving(const KeeperFolders& folders, const PipeLimits& limits, const std::string& serviceSid,
            std::string teachersSid)
        : answers_(folders), limits_(limits), teachersSid_(std::move(teachersSid)),
          registerSddl_(RegisterFileSddl(serviceSid, teachersSid_))
    {
    }

    // Waits for a connection slot for client; false at once when its process or its user has
    // its share already, or once stop is signalled.
    bool admit(const Client& client, HANDLE stop)
    {
        std::unique_lock lock(countMutex_);
        if (client.process != 0 && Held(perProcess_, client.process) >= limits_.connectionsPerClient) return false;
        if (Held(perUser_, client.user) >= limits_.connectionsPerUser) return false;
        while (active_ >= limits_.connections) {
            if (WaitForSingleObject(stop, 0) == WAIT_OBJECT_0) return false;
            ended_.wait_for(lock, std::chrono::milliseconds(100));
        }
        ++active_;
        if (client.process != 0) ++perProcess_[client.process];
        ++perUser_[client.user];
        return true;
    }
    void release(const Client& client)
    {
        const std::lock_guard lock(countMutex_);
        --active_;
        if (client.process != 0 && --perProcess_[client.process] == 0) perProcess_.erase(client.process);
        if (--perUser_[client.user] == 0) perUser_.erase(client.user);
        ended_.notify_all();
    }
    void waitUntilNoneActive()
    {
        std::unique_lock lock(countMutex_);
        ended_.wait(lock, [this] { return active_ == 0; });
    }

    // The answer to one whole request. The record is touched only here, once the request has
    // arrived, so that no client's silence can hold it; requests take their turns in the order
    // they arrived.
    std::string answer(const KeeperRequest& request, HANDLE pipe)
    {
        // Who asks is asked of Windows, and only when it matters: a clearing of the register.
        const KeeperCaller caller{request.kind == KeeperRequestKind::clear && PipeClientIsTeacher(pipe, teachersSid_),
                                  registerSddl_};
        const Turns::Turn turn(recordTurns_);
        return answers_.answer(request, caller);
    }

    const PipeLimits& limits() const { return limits_; }

private:
    KeeperAnswers answers_;
    PipeLimits limits_;
    Turns recordTurns_;
    std::string teachersSid_;
    std::wstring registerSddl_;
    std::mutex countMutex_;
    std::condition_variable ended_;
    template <typename Key>
    static int Held(const std::map<Key, int>& counts, const Key& key)
    {
        const auto found = counts.find(key);
        return found == counts.end() ? 0 : found->second;
    }

    int active_ = 0;
    std::map<ULONG, int> perProcess_;
    std::map<std::string, int> perUser_;
};

// One request and its answer on a connected pipe instance; anything unexpected ends it.
void ServeConnection(HANDLE pipe, Serving& serving, HANDLE stop)
{
    const auto now = std::chrono::steady_clock::now;
    const PipeDeadline requestDeadline = now() + serving.limits().request;
    unsigned char header[kFrameHeaderSize];
    if (!ReadExactly(pipe, header, sizeof header, requestDeadline, stop)) return;
    const auto size = FramePayloadSize(header, kRequestLimit);
    if (!size) return;
    std::string payload(*size, '\0');
    if (!ReadExactly(pipe, payload.data(), payload.size(), requestDeadline, stop)) return;
    const auto request = DecodeRequest(payload);
    if (!request) return;

    const std::string frame = FrameOf(serving.answer(*request, pipe));
    const PipeDeadline answerDeadline = now() + serving.limits().answer;
    if (!WriteExactly(pipe, frame.data(), frame.size(), answerDeadline, stop)) return;
    // Disconnecting drops what the client has not read yet: wait until it closes its end.
    char extra;
    ReadExactly(pipe, &extra, 1, answerDeadline, stop);
}

OwnedKernel NewInstance(const RecordPipe& pipe, SecurityAttributes& security, bool first)
{
    // The first instance must be the one that creates the pipe: if another program holds the
    // name, the service does not join it.
    const DWORD openMode = PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0);
    return Kernel(CreateNamedPipeW(pipe.name.c_str(), openMode, PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_REJECT_REMOTE_CLIENTS,
                            PIPE_UNLIMITED_INSTANCES, kPipeBufferSize, kPipeBufferSize, 0, security.get()));
}

// Waits for a client on the listening instance; false once stop is signalled.
bool AwaitClient(HANDLE listening, HANDLE stop)
{
    for (;;) {
        const OwnedKernel connected(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!connected) return false;
        OVERLAPPED io{};
        io.hEvent = connected.get();
        DWORD error = ConnectNamedPipe(listening, &io) ? ERROR_SUCCESS : GetLastError();
        if (error == ERROR_IO_PENDING) {
            const HANDLE events[2] = {io.hEvent, stop};
            if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) CancelIoEx(listening, &io);
            DWORD unused = 0;
            error = GetOverlappedResult(listening, &io, &unused, TRUE) ? ERROR_SUCCESS : GetLastError();
        }
        if (WaitForSingleObject(stop, 0) == WAIT_OBJECT_0) return false;
        if (error == ERROR_SUCCESS || error == ERROR_PIPE_CONNECTED) return true;
        // A client that came and went already (ERROR_NO_DATA), or any other failure: listen again.
        DisconnectNamedPipe(listening);
    }
}

}  // namespace

std::string ServeRecordPipe(const RecordPipe& pipe, const KeeperFolders& folders, const PipeLimits& limits,
                            HANDLE stop, const std::string& teachersSid, const PipeUserLookup& userOf)
{
    SecurityAttributes security(RecordPipeSddl(pipe.ownerSid));
    if (!security.get()) return "Non riesco a preparare i permessi della pipe " + Utf8(pipe.name) + ".";
    OwnedKernel listening = NewInstance(pipe, security, true);
    if (!listening)
        return "Non riesco a creare la pipe " + Utf8(pipe.name) + ": " +
               SystemErrorText(static_cast<int>(GetLastError())) + ".";

    Serving serving(folders, limits, pipe.ownerSid, teachersSid);
    while (AwaitClient(listening.get(), stop)) {
        Client client;
        GetNamedPipeClientProcessId(listening.get(), &client.process);
        client.user = userOf(listening.get());
        // While every slot is taken this client waits, its request unread, and the others wait
        // for an instance; a slot is free again within the time limits.
        const bool admitted = serving.admit(client, stop);
        // The next instance exists before this one is handed over, so that the pipe never
        // vanishes and no other program can take its name meanwhile.
        OwnedKernel next = admitted ? NewInstance(pipe, security, false) : OwnedKernel();
        if (!next) {
            // One too many from its process or its user, or no instance to spare: cut off at once.
            if (admitted) serving.release(client);
            DisconnectNamedPipe(listening.get());
            continue;
        }
        std::thread([connected = std::exchange(listening, std::move(next)), client, &serving, stop]() mutable {
            ServeConnection(connected.get(), serving, stop);
            DisconnectNamedPipe(connected.get());
            connected.reset();
            serving.release(client);
        }).detach();
    }
    listening.reset();
    serving.waitUntilNoneActive();
    return {};
}

}  // namespace brivana
