#include "system/keeper_answers.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "game/lab_memory.h"
#include "game/record_store.h"
#include "system/server_worker.h"
#include "game/register_store.h"
#include "game/waiting_register.h"
#include "system/system_file_access.h"
#include "system/system_record_place.h"

namespace brivana {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Room left between the last step on the server and the deadline of the answer.
constexpr milliseconds kAnswerMargin{300};

const char* const kUnreachable = "Non riesco a raggiungere il record della classe sul server: ";
const char* const kUnreachableRegister = "Non riesco a raggiungere il registro della classe sul server: ";

milliseconds TimeLeft(Clock::time_point deadline)
{
    return std::max(std::chrono::duration_cast<milliseconds>(deadline - Clock::now()), milliseconds(0));
}

// The file access for pupils' results, on the server or here: the files it creates get the
// access list the caller brings.
std::shared_ptr<FileAccess> ForResults(std::shared_ptr<FileAccess> files, const KeeperCaller& caller)
{
    return caller.registerSddl.empty() ? files : std::make_shared<SystemFileAccess>(caller.registerSddl);
}

// Runs on the worker: hands the lines waiting in ownDir to the lab's register, within the deadline.
RegisterResult DeliverWaitingLines(FileAccess& own, const std::string& ownDir, FileAccess& server,
                                   const std::string& lab, Clock::time_point deadline)
{
    RegisterStore registerStore(server, lab, TimeLeft(deadline));
    return WaitingRegister(own, ownDir).deliverTo(registerStore);
}

// What one visit to the server found: the class record as it was left, and the outcome of the
// player's save when there was one.
struct ServerVisit {
    RecordReading reading;
    std::optional<SaveResult> save;
};

bool Reached(const SaveResult& result)
{
    return result.outcome == SaveOutcome::saved || result.outcome == SaveOutcome::notBetter;
}

// Runs on the worker: everything it uses is its own. A score kept on this computer goes first,
// when it still beats the class record; then the player's save, if any; then the record is read
// again, to be remembered as the last one seen.
ServerVisit VisitServer(FileAccess& files, const std::string& dir, Clock::time_point deadline,
                        const std::optional<PendingScore>& pending, const std::optional<PendingScore>& toSave)
{
    const auto store = [&] { return RecordStore(files, dir, TimeLeft(deadline)); };
    ServerVisit visit;
    if (toSave) {
        if (pending) store().SaveRecord(pending->score, pending->holder);
        visit.save = store().SaveRecord(toSave->score, toSave->holder);
        if (Reached(*visit.save)) visit.reading = store().Read();
        return visit;
    }
    visit.reading = store().Read();
    if (visit.reading.complete && pending && ScoreBeatsRecord(visit.reading.score, pending->score) &&
        Reached(store().SaveRecord(pending->score, pending->holder)))
        visit.reading = store().Read();
    return visit;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

}  // namespace

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

KeeperAnswers::KeeperAnswers(KeeperFolders folders, std::shared_ptr<FileAccess> serverFiles,
                             std::shared_ptr<FileAccess> ownFiles, milliseconds serverWait)
    : folders_(std::move(folders)), serverFiles_(std::move(serverFiles)), ownFiles_(std::move(ownFiles)),
      serverWait_(serverWait)
{
    if (!folders_.lab.empty()) worker_ = std::make_unique<ServerWorker>();
}

KeeperAnswers::KeeperAnswers(KeeperFolders folders)
    : folders_(std::move(folders)), serverFiles_(std::make_shared<SystemFileAccess>()),
      ownFiles_(std::make_shared<SystemFileAccess>()), serverWait_(kServerAnswerWait)
{
    if (!folders_.lab.empty()) worker_ = std::make_unique<ServerWorker>();
}

KeeperAnswers::~KeeperAnswers() = default;

std::string KeeperAnswers::answer(const KeeperRequest& request, const KeeperCaller& caller)
{
    if (!worker_) return AnswerKeeperRequest(request, folders_.own, caller);
    switch (request.kind) {
    case KeeperRequestKind::canKeep:
        // The keeper can always keep a score: on the server, or here until the server answers.
        return EncodeCanKeepAnswer(CanKeepRecordsIn(folders_.own));
    case KeeperRequestKind::read:
        return answerRead(caller);
    case KeeperRequestKind::append:
    case KeeperRequestKind::clear:
        return answerRegister(request, caller);
    case KeeperRequestKind::save:
        break;
    }
    if (std::string problem = SaveRequestProblem(request.score, request.holder); !problem.empty())
        return EncodeSaveAnswer({SaveOutcome::failed, std::move(problem)});
    return answerSave(request.score, request.holder);
}

namespace {

// Why the server gave no answer in time: a job still stuck from an earlier request, or this one.
std::string Silence(const std::string& lab, bool stillBusy)
{
    return stillBusy ? "la cartella " + lab + " non ha ancora risposto alla richiesta precedente."
                     : "la cartella " + lab + " non risponde.";
}

}  // namespace

std::string KeeperAnswers::answerRead(const KeeperCaller& caller)
{
    LabMemoryFile memoryFile(*ownFiles_, folders_.own);
    LabMemory memory;
    const IoStatus loaded = memoryFile.load(memory);

    const auto deadline = Clock::now() + serverWait_ - kAnswerMargin;
    auto files = serverFiles_;
    const std::string lab = folders_.lab;
    const bool stillBusy = worker_->busy();
    const auto visit = worker_->run<ServerVisit>(
        [files, lab, deadline, pending = memory.pending, own = ForResults(ownFiles_, caller), ownDir = folders_.own,
         registerFiles = ForResults(serverFiles_, caller)] {
            ServerVisit visit = VisitServer(*files, lab, deadline, pending, {});
            // Games this computer could not write in the register before go now, in what time is left.
            if (visit.reading.complete) DeliverWaitingLines(*own, ownDir, *registerFiles, lab, deadline);
            return visit;
        },
        serverWait_);

    if (visit && visit->reading.complete) {
        RecordReading reading = visit->reading;
        const IoStatus remembered =
            memoryFile.update([&](LabMemory& kept) { RememberClassRecord(kept, reading.score); });
        for (const IoStatus& status : {loaded, remembered})
            if (!status.ok()) reading.problems.push_back(status.why);
        return EncodeReadAnswer(reading);
    }
    RecordReading unreachable;
    unreachable.problems.push_back(kUnreachable + (visit ? Joined(visit->reading.problems) : Silence(lab, stillBusy)));
    unreachable.problems.push_back(
        "Se il tuo punteggio supera l'ultimo record della classe visto da questo computer" +
        (memory.seenScore.empty() ? std::string() : " (" + memory.seenScore + ")") +
        ", sarà conservato qui e salvato nel record della classe appena il server risponde.");
    if (!loaded.ok()) unreachable.problems.push_back(loaded.why);
    return EncodeReadAnswer(unreachable);
}

std::string KeeperAnswers::answerSave(const std::string& score, const std::string& holder)
{
    LabMemoryFile memoryFile(*ownFiles_, folders_.own);
    LabMemory memory;
    // A memory that cannot be read now only delays a waiting score: keeping this one below
    // reads it again and says why it cannot.
    memoryFile.load(memory);

    const auto deadline = Clock::now() + serverWait_ - kAnswerMargin;
    auto files = serverFiles_;
    const std::string lab = folders_.lab;
    const bool stillBusy = worker_->busy();
    const auto visit = worker_->run<ServerVisit>(
        [files, lab, deadline, pending = memory.pending, toSave = PendingScore{score, holder}] {
            return VisitServer(*files, lab, deadline, pending, toSave);
        },
        serverWait_);

    if (visit && Reached(*visit->save)) {
        // The player's answer is the save's. A memory that cannot be updated now only leaves the
        // last class record seen here older, which the next read on this computer puts right.
        if (visit->reading.complete)
            memoryFile.update([&](LabMemory& kept) { RememberClassRecord(kept, visit->reading.score); });
        return EncodeSaveAnswer(*visit->save);
    }
    // The server is away, refuses, hangs or failed half-way: the score waits here for it.
    const std::string why = kUnreachable + (visit ? visit->save->why : Silence(lab, stillBusy));
    const SaveOutcome unsaved = visit ? visit->save->outcome : SaveOutcome::failed;
    bool kept = false;
    const IoStatus stored = memoryFile.update([&](LabMemory& now) { kept = KeepPendingScore(now, score, holder); });
    if (!stored.ok())
        return EncodeSaveAnswer(
            {unsaved, why + "\nNon riesco nemmeno a conservarlo su questo computer.\n" + stored.why});
    if (kept) return EncodeSaveAnswer({SaveOutcome::kept, why});
    return EncodeSaveAnswer({unsaved, why + "\nL'ultimo record della classe visto da questo computer, o un "
                                            "punteggio che aspetta qui di esservi salvato, è uguale o migliore "
                                            "del tuo."});
}

// The lab's register lives beside the class record, on the server.
std::string KeeperAnswers::answerRegister(const KeeperRequest& request, const KeeperCaller& caller)
{
    if (request.kind == KeeperRequestKind::append) return answerAppend(request.text, caller);
    auto files = ForResults(serverFiles_, caller);
    const std::string lab = folders_.lab;
    const bool stillBusy = worker_->busy();
    const auto result = worker_->run<RegisterResult>(
        [files, lab, request, teacher = caller.teacher] { return AnswerClear(request.text, lab, teacher, *files); },
        serverWait_);
    if (result) return EncodeRegisterAnswer(*result);
    return EncodeRegisterAnswer({false, kUnreachableRegister + Silence(lab, stillBusy)});
}

// A game's line is kept on this computer first, then handed over with any that wait before it:
// a server that does not answer in time finds it here at a later game, and a delivery stopped
// at any step never writes it twice.
std::string KeeperAnswers::answerAppend(const std::string& resultFields, const KeeperCaller& caller)
{
    RegisterLine line;
    if (const RegisterResult stamped = StampResult(resultFields, line); !stamped.done)
        return EncodeRegisterAnswer(stamped);
    const auto own = ForResults(ownFiles_, caller);
    const RegisterResult kept = WaitingRegister(*own, folders_.own).keep(line);

    const auto deadline = Clock::now() + serverWait_ - kAnswerMargin;
    auto files = ForResults(serverFiles_, caller);
    const std::string lab = folders_.lab;
    const bool stillBusy = worker_->busy();
    // A line kept here goes with any that wait before it; one that could not be kept goes alone.
    const auto delivered = worker_->run<RegisterResult>(
        [own, ownDir = folders_.own, files, lab, line, deadline, keptHere = kept.done] {
            if (keptHere) return DeliverWaitingLines(*own, ownDir, *files, lab, deadline);
            return RegisterStore(*files, lab, TimeLeft(deadline)).Append(line);
        },
        serverWait_);
    if (delivered && delivered->done) return EncodeRegisterAnswer(*delivered);
    const std::string unreachable = kUnreachableRegister + (delivered ? delivered->why : Silence(lab, stillBusy));
    if (kept.done)
        return EncodeRegisterAnswer({false, unreachable + "\nLa partita è conservata su questo computer e sarà scritta "
                                                          "nel registro della classe appena il server risponde."});
    return EncodeRegisterAnswer(
        {false, unreachable + "\nNon riesco nemmeno a conservare la partita su questo computer.\n" + kept.why});
}

}  // namespace brivana
