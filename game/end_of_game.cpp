// The end of a game: farewell, a better record saved, the program ended.
#include "game/game.h"
#include "game/keeper_requests.h"
#include "game/record_store.h"

namespace brivana {

void Game::cmdExit_Click()
{
    // The clock keeps ticking behind the farewell; the end runs once all the same.
    if (ended_) return;
    ended_ = true;

    const std::string name = view_.text(Field::lblnome1);
    view_.messageBox("Ciao " + name + ", alla prossima sfida!", MsgStyle::ok,
                     "Data " + services_.dateTime.nowText());
    SaveRecordIfBeaten("Ok ho registrato il tuo record, C A M P I O N E");
    view_.endProgram();
}

bool Game::SaveRecordIfBeaten(const std::string& congratulation)
{
    const std::string score = view_.text(Field::lblScore);
    // The clock may run out behind the congratulation of a new game: that save stands.
    if (scoreSaved_ || !ScoreBeatsRecord(view_.text(Field::lblpunti), score)) return false;

    // A name the record cannot hold as typed (a letter the record's code page lacks, a pasted tab)
    // is saved as near to it as the record allows, never refused.
    const SaveResult result =
        services_.records.save(state_.recordDir, score, StorableHolderName(view_.text(Field::lblnome1)));
    switch (result.outcome) {
    case SaveOutcome::saved:
        scoreSaved_ = true;
        view_.messageBox(congratulation, MsgStyle::ok);
        return true;
    case SaveOutcome::notBetter:
        view_.messageBox("Nel frattempo su questo computer è stato registrato un record uguale o migliore "
                         "del tuo: il tuo punteggio non è stato salvato come record.",
                         MsgStyle::ok);
        return false;
    case SaveOutcome::failed:
        view_.messageBox("Non sono riuscito a salvare il tuo record.\n" + result.why +
                             "\nIl record precedente è rimasto com'era.",
                         MsgStyle::okExclamation);
        return false;
    case SaveOutcome::kept:
        // Handed over: the keeper delivers it, and a later end of this game must not ask again.
        scoreSaved_ = true;
        view_.messageBox(result.why +
                             "\nIl tuo punteggio è conservato su questo computer e sarà salvato nel record della "
                             "classe appena il server risponde, se nessuno lo avrà superato nel frattempo.",
                         MsgStyle::okExclamation);
        return false;
    case SaveOutcome::failedUnsure:
        break;
    }
    view_.messageBox("Non sono riuscito a salvare il tuo record.\n" + result.why +
                         "\nIl record precedente potrebbe essere danneggiato: la prossima partita proverà a "
                         "ripararlo.",
                     MsgStyle::okExclamation);
    return false;
}

}  // namespace brivana
