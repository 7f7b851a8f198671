#pragma once
// The installed game's record service on Windows and the games' side of it. The service alone
// may write the shared record folder; games ask it, over a named pipe, the same questions as the
// keeper process elsewhere: whether it can keep the record in the shared folder; read the record
// there; save a score and a name there if they beat the record; append a game's result to the
// register there; clear a school year of the register, for a teacher. No request names a path.
// One connection carries one request and its answer.

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "game/record_keeper.h"
#include "system/keeper_answers.h"
#include "system/record_security_windows.h"

namespace brivana {

inline constexpr const wchar_t* kRecordServiceName = L"BrivanaKeeper";

// A record pipe: its name, and the account that must own it for a game to trust it.
struct RecordPipe {
    std::wstring name;
    std::string ownerSid;
};

// The installed service's pipe, \\.\pipe\BrivanaRecord, owned by NT SERVICE\BrivanaKeeper.
RecordPipe InstalledRecordPipe();

// How long a connection may take, and how many may be served at once. A client that is slower,
// or one too many, is cut off; the others do not wait for it.
struct PipeLimits {
    std::chrono::milliseconds request{500};  // from the connection to the whole request
    std::chrono::milliseconds answer{1000};  // to deliver the answer and see the client close
    int connections = 32;                    // served at once
    int connectionsPerClient = 2;            // per client process, where Windows names it
    // Per logged-on user, however many processes he starts, so that one pupil cannot keep his
    // classmates from saving. Clients whose user cannot be told count as one user.
    int connectionsPerUser = 8;
};

// Who the user on the other end of a connected pipe instance is; empty when it cannot be told.
using PipeUserLookup = std::function<std::string(HANDLE connected)>;

// Serves the record kept in folders (the computer's own, and the lab's on the school's server
// when there is one) on pipe.name, owned by pipe.ownerSid, until stop is signalled and every
// connection has ended. Only an unusable pipe (its name taken by another program)
// ends it early: then it returns why, in Italian; otherwise an empty text. The register files it
// creates can be read by teachersSid, whose members (and the administrators) alone may clear one.
// userOf tells the users apart: by default, by the user of the client's access token.
std::string ServeRecordPipe(const RecordPipe& pipe, const KeeperFolders& folders, const PipeLimits& limits,
                            HANDLE stop, const std::string& teachersSid = "S-1-5-32-544",
                            const PipeUserLookup& userOf = PipeClientUser);

// A game's connection to the record service. The shared folder's record goes through the
// service; any other folder's is kept by `local`, with the player's own rights.
class RecordPipeClient final : public RecordKeeper {
public:
    // Nothing when no record service answers on pipe (none is installed, or it is stopped).
    static std::unique_ptr<RecordPipeClient> Find(RecordPipe pipe, std::string sharedDir, RecordKeeper& local);

    // Whether the service can keep the record in the shared folder.
    bool canKeepShared(const std::string& dir);
    RecordReading read(const std::string& dir) override;
    SaveResult save(const std::string& dir, const std::string& scoreText, const std::string& holderName) override;
    RegisterResult appendResult(const std::string& dir, const GameResult& result) override;
    RegisterResult clearSchoolYear(const std::string& dir, int schoolYear) override;

private:
    RecordPipeClient(RecordPipe pipe, std::string sharedDir, RecordKeeper& local);

    RecordPipe pipe_;
    std::string sharedDir_;
    RecordKeeper& local_;
};

}  // namespace brivana
