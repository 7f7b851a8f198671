#pragma once
// What a record keeper answers, whichever way the request reached it (the Linux keeper's socket,
// the Windows service's pipe): the one place where a request touches the record's folder.

#include <chrono>
#include <memory>
#include <string>

#include "game/file_access.h"
#include "game/keeper_requests.h"
#include "system/register_answers.h"

namespace brivana {

class ServerWorker;

// The answer payload to one whole, decoded request about the record in sharedDir. A save of a
// score or name the record cannot hold is refused before the folder is touched; so is a result
// the register cannot hold, and a clearing asked by anyone but a teacher.
std::string AnswerKeeperRequest(const KeeperRequest& request, const std::string& sharedDir, const KeeperCaller& caller);

// How long a game waits for the school's server: the window must be usable again within about
// three seconds, whatever the server does.
inline constexpr std::chrono::milliseconds kServerAnswerWait{2500};

// Where a keeper keeps the record.
struct KeeperFolders {
    std::string own;  // the computer's shared folder: the record, or with a lab folder the keeper's memory
    std::string lab;  // the class record's folder on the school's server; empty when there is none
};

// A keeper's answers. Without a lab folder, as AnswerKeeperRequest about folders.own. With one,
// every access to it runs on a worker and is waited for at most serverWait: a server that is
// away, refuses or hangs is said so in Italian, and a score that beats the last class record
// seen here is kept in folders.own and delivered at a later read or save once the server answers.
// Each game's register line is kept in folders.own first and handed to the lab's register at
// once, or at a later game when the server does not take it now.
class KeeperAnswers {
public:
    KeeperAnswers(KeeperFolders folders, std::shared_ptr<FileAccess> serverFiles, std::shared_ptr<FileAccess> ownFiles,
                  std::chrono::milliseconds serverWait = kServerAnswerWait);
    // The real file access on both sides.
    explicit KeeperAnswers(KeeperFolders folders);
    ~KeeperAnswers();
    KeeperAnswers(const KeeperAnswers&) = delete;
    KeeperAnswers& operator=(const KeeperAnswers&) = delete;

    std::string answer(const KeeperRequest& request, const KeeperCaller& caller);

private:
    std::string answerRead(const KeeperCaller& caller);
    std::string answerSave(const std::string& score, const std::string& holder);
    std::string answerRegister(const KeeperRequest& request, const KeeperCaller& caller);
    std::string answerAppend(const std::string& resultFields, const KeeperCaller& caller);

    KeeperFolders folders_;
    std::shared_ptr<FileAccess> serverFiles_;
    std::shared_ptr<FileAccess> ownFiles_;
    std::chrono::milliseconds serverWait_;
    std::unique_ptr<ServerWorker> worker_;  // only with a lab folder
};

}  // namespace brivana
