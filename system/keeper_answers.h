#pragma once
// What a record keeper answers, whichever way the request reached it (the Linux keeper's socket,
// the Windows service's pipe): the one place where a request touches the shared folder.

#include <string>

#include "game/keeper_requests.h"
#include "system/register_answers.h"

namespace brivana {

// The answer payload to one whole, decoded request about the record in sharedDir. A save of a
// score or name the record cannot hold is refused before the folder is touched; so is a result
// the register cannot hold, and a clearing asked by anyone but a teacher.
std::string AnswerKeeperRequest(const KeeperRequest& request, const std::string& sharedDir, const KeeperCaller& caller);

}  // namespace brivana
