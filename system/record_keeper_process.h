#pragma once
// The record keeper. Installed to run with the rights of the system user that owns the shared
// record folder (set-user-id), the game splits in two before anything else: a small keeper
// process keeps those rights and alone writes that folder, and the window's process gives
// them up for good before any toolkit starts. The keeper answers five requests on a socket
// pair, and no others: whether it can keep the record in the shared folder; read the record
// there; save a score and a name there if they beat the record; append a game's result to the
// register there; clear a school year of the register, for a teacher. No request names a path.

#include <memory>
#include <string>

#include "game/record_keeper.h"
#include "system/register_answers.h"

namespace brivana {

// The window's side of the socket pair. The shared folder's record goes through the keeper;
// any other folder's is kept by `local`, with the player's own rights.
class KeeperConnection final : public RecordKeeper {
public:
    KeeperConnection(int socket, std::string sharedDir, RecordKeeper& local);
    ~KeeperConnection() override;  // closing the socket ends the keeper
    KeeperConnection(const KeeperConnection&) = delete;
    KeeperConnection& operator=(const KeeperConnection&) = delete;

    // Whether the keeper can keep the record in the shared folder.
    bool canKeepShared(const std::string& dir);
    RecordReading read(const std::string& dir) override;
    SaveResult save(const std::string& dir, const std::string& scoreText, const std::string& holderName) override;
    RegisterResult appendResult(const std::string& dir, const GameResult& result) override;
    RegisterResult clearSchoolYear(const std::string& dir, int schoolYear) override;

private:
    int socket_;
    std::string sharedDir_;
    RecordKeeper& local_;
};

// Called first thing in main. Running with no rights beyond the player's own, does nothing and
// returns nothing. Otherwise forks the keeper, drops every right of this process for good,
// and returns the connection to the keeper (nothing if it could not be started). Ends the
// program when the rights cannot be dropped.
std::unique_ptr<KeeperConnection> SplitOffRecordKeeper(RecordKeeper& local);

class KeeperAnswers;

// Makes this process wholly the owner of the shared folder (real, effective and saved ids all
// its effective ones), and deaf to the terminal's signals. The keeper's identity, taken by the
// keeper and by the administrator's check; false when the ids could not be set.
bool TakeKeeperIdentity();

// The keeper's side: answers requests on socket from caller until the socket closes or a
// request is not one of ours.
void ServeRecordRequests(int socket, KeeperAnswers& answers, const KeeperCaller& caller);
// The same about the record in sharedDir, with no lab folder.
void ServeRecordRequests(int socket, const std::string& sharedDir, const KeeperCaller& caller);

// Whether the player running this program is a teacher: the teachers' group is his own or one
// of his supplementary groups.
bool PlayerIsTeacher();

}  // namespace brivana
