// The game's side of the record service's pipe.
#include <optional>
#include <utility>

#include "game/keeper_requests.h"
#include "system/owned_handle_windows.h"
#include "system/pipe_io_windows.h"
#include "system/record_pipe_windows.h"
#include "system/record_security_windows.h"

namespace brivana {

namespace {

// Long enough for the service to wait for the folder's lock and save; it bounds all of that itself.
constexpr auto kAnswerWait = std::chrono::seconds(10);
constexpr auto kConnectWait = std::chrono::seconds(3);

const char* const kServiceGone = "Non riesco a parlare con il servizio che custodisce il record (BrivanaKeeper).";

// Opens the pipe, waiting while every instance is busy. The service learns who connects but
// may not act as the player (identification only).
OwnedKernel OpenPipe(const std::wstring& name, PipeDeadline deadline)
{
    for (;;) {
        OwnedKernel pipe = Kernel(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                              FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION,
                                              nullptr));
        if (pipe || GetLastError() != ERROR_PIPE_BUSY) return pipe;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return {};
        WaitNamedPipeW(name.c_str(), static_cast<DWORD>(left.count()));
    }
}

// One request on a connection of its own, and its answer; nothing when the service does not
// answer. sent tells whether the request reached the service.
std::optional<std::string> Ask(const RecordPipe& pipe, const std::string& request, bool& sent)
{
    sent = false;
    const auto start = std::chrono::steady_clock::now();
    const OwnedKernel connection = OpenPipe(pipe.name, start + kConnectWait);
    // A pipe of the same name made by anyone but the service gets neither the name nor the score.
    if (!connection || OwnerOf(connection.get()) != pipe.ownerSid) return std::nullopt;
    const PipeDeadline deadline = start + kAnswerWait;
    const std::string frame = FrameOf(request);
    unsigned char header[kFrameHeaderSize];
    if (!WriteExactly(connection.get(), frame.data(), frame.size(), deadline, nullptr)) return std::nullopt;
    sent = true;
    if (!ReadExactly(connection.get(), header, sizeof header, deadline, nullptr)) return std::nullopt;
    const auto size = FramePayloadSize(header, kAnswerLimit);
    if (!size) return std::nullopt;
    std::string answer(*size, '\0');
    if (!ReadExactly(connection.get(), answer.data(), answer.size(), deadline, nullptr)) return std::nullopt;
    return answer;
}

}  // namespace

RecordPipe InstalledRecordPipe()
{
    return {L"\\\\.\\pipe\\BrivanaRecord", ServiceSid(kRecordServiceName)};
}

std::unique_ptr<RecordPipeClient> RecordPipeClient::Find(RecordPipe pipe, std::string sharedDir, RecordKeeper& local)
{
    // Only a pipe that is not there at all means there is no service: a busy one is still one.
    if (!WaitNamedPipeW(pipe.name.c_str(), NMPWAIT_NOWAIT) && GetLastError() == ERROR_FILE_NOT_FOUND) return nullptr;
    return std::unique_ptr<RecordPipeClient>(new RecordPipeClient(std::move(pipe), std::move(sharedDir), local));
}

RecordPipeClient::RecordPipeClient(RecordPipe pipe, std::string sharedDir, RecordKeeper& local)
    : pipe_(std::move(pipe)), sharedDir_(std::move(sharedDir)), local_(local)
{
}

bool RecordPipeClient::canKeepShared(const std::string& dir)
{
    if (dir != sharedDir_) return false;
    bool sent = false;
    const auto answer = Ask(pipe_, EncodeCanKeepRequest(), sent);
    return answer && DecodeCanKeepAnswer(*answer).value_or(false);
}

RecordReading RecordPipeClient::read(const std::string& dir)
{
    if (dir != sharedDir_) return local_.read(dir);
    bool sent = false;
    const auto answer = Ask(pipe_, EncodeReadRequest(), sent);
    auto reading = answer ? DecodeReadAnswer(*answer) : std::nullopt;
    if (!reading) return RecordReading{{}, {}, false, {kServiceGone}};
    return std::move(*reading);
}

SaveResult RecordPipeClient::save(const std::string& dir, const std::string& scoreText, const std::string& holderName)
{
    if (dir != sharedDir_) return local_.save(dir, scoreText, holderName);
    bool sent = false;
    const auto answer = Ask(pipe_, EncodeSaveRequest(scoreText, holderName), sent);
    auto result = answer ? DecodeSaveAnswer(*answer) : std::nullopt;
    // Once the request is sent, the service may have saved it or not.
    if (!result) return {sent ? SaveOutcome::failedUnsure : SaveOutcome::failed, kServiceGone};
    return std::move(*result);
}

RegisterResult RecordPipeClient::appendResult(const std::string& dir, const GameResult& result)
{
    if (dir != sharedDir_) return local_.appendResult(dir, result);
    bool sent = false;
    const auto answer = Ask(pipe_, EncodeAppendRequest(result), sent);
    auto done = answer ? DecodeRegisterAnswer(*answer) : std::nullopt;
    if (!done) return {false, kServiceGone};
    return std::move(*done);
}

RegisterResult RecordPipeClient::clearSchoolYear(const std::string& dir, int schoolYear)
{
    if (dir != sharedDir_) return local_.clearSchoolYear(dir, schoolYear);
    bool sent = false;
    const auto answer = Ask(pipe_, EncodeClearRequest(schoolYear), sent);
    auto done = answer ? DecodeRegisterAnswer(*answer) : std::nullopt;
    if (!done) return {false, kServiceGone};
    return std::move(*done);
}

}  // namespace brivana
