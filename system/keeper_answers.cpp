#include "system/keeper_answers.h"

#include "game/record_store.h"
#include "game/register_store.h"
#include "system/register_stamps.h"
#include "system/system_file_access.h"
#include "system/system_record_place.h"

namespace brivana {

std::string AnswerKeeperRequest(const KeeperRequest& request, const std::string& sharedDir, const KeeperCaller& caller)
{
    SystemFileAccess files(caller.registerSddl);
    switch (request.kind) {
    case KeeperRequestKind::canKeep:
        return EncodeCanKeepAnswer(CanKeepRecordsIn(sharedDir));
    case KeeperRequestKind::read:
        return EncodeReadAnswer(RecordStore(files, sharedDir).Read());
    case KeeperRequestKind::append:
        return EncodeRegisterAnswer(AnswerAppend(request.text, sharedDir, files));
    case KeeperRequestKind::clear:
        return EncodeRegisterAnswer(AnswerClear(request.text, sharedDir, caller.teacher, files));
    case KeeperRequestKind::save:
        break;
    }
    if (std::string problem = SaveRequestProblem(request.score, request.holder); !problem.empty())
        return EncodeSaveAnswer({SaveOutcome::failed, std::move(problem)});
    return EncodeSaveAnswer(RecordStore(files, sharedDir).SaveRecord(request.score, request.holder));
}

}  // namespace brivana
