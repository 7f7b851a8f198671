// The end of a game: farewell, a better record saved, the game written in the register, the
// program ended.
#include <algorithm>

#include "game/game.h"
#include "game/keeper_requests.h"
#include "game/record_store.h"

namespace brivana {

void Game::cmdExit_Click() { EndGame(GameEnding::exit); }

void Game::Form_Unload() { EndGame(GameEnding::windowClosed); }

void Game::EndGame(GameEnding ending)
{
    // The clock keeps ticking behind the farewell; the end runs once all the same.
    if (ended_) return;
    ended_ = true;
    // The game is over now: the clock ticking behind the messages below is not play.
    const int seconds = SecondsPlayed();

    const std::string name = view_.text(Field::lblnome1);
    view_.messageBox("Ciao " + name + ", alla prossima sfida!", MsgStyle::ok,
                     "Data " + services_.dateTime.nowText());
    SaveRecordIfBeaten("Ok ho registrato il tuo record, C A M P I O N E");
    WriteToRegister(ending, seconds);
    view_.endProgram();
}

int Game::SecondsPlayed() const
{
    const int left = state_.clockHours * 3600 + state_.clockMinutes * 60 + static_cast<int>(state_.clockSeconds);
    return std::clamp(kGameSeconds - left, 0, kGameSeconds);
}

void Game::WriteToRegister(GameEnding ending, int seconds)
{
    // A window closed before its first game was loaded played no game; and a game is written
    // once, though the clock may run out while a new game's message is open.
    if (state_.recordDir.empty() || registered_) return;
    registered_ = true;
    GameResult result;
    result.pupil = RegisterText(view_.text(Field::lblnome1));
    result.right = state_.correctCount;
    result.wrong = state_.wrongCount;
    result.total = std::min(result.right + result.wrong, kTallyMax);
    result.seconds = seconds;
    result.ending = ending;
    result.record = scoreSaved_;
    const RegisterResult written = services_.records.appendResult(state_.recordDir, result);
    if (!written.done)
        view_.messageBox("Non sono riuscito a scrivere questa partita nel registro dei docenti.\n" + written.why,
                         MsgStyle::okExclamation);
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
