// The start of a game, and a new game from the menu.
#include <utility>

#include "game/game.h"

namespace brivana {

Game::Game(GameView& view, Services services) : view_(view), services_(services) {}

void Game::Form_Load()
{
    services_.random.reseedFromTime();
    view_.setTimerEnabled(false);

    const std::string name = view_.inputBox("Come ti chiami?", "Gioca con il prodotto di numeri relativi");
    view_.messageBox(" " + name + " vediamo se sei un vero campione  ", MsgStyle::okExclamation,
                     "Sei pronto per il record? Buona fortuna");
    view_.setText(Field::lblnome1, name);

    StartClock();

    state_.recordDir = GetSystemDir();
    // Read under the record's lock, after finishing any save that was interrupted there.
    RecordReading record = services_.records.read(state_.recordDir);
    view_.setText(Field::lblpunti, record.score);
    view_.setText(Field::lblnome, record.holder);
    // A record read whole counts as it is, whatever else went wrong in its folder.
    if (!record.problems.empty())
        recordProblems_.push_back(record.complete ? "Ho letto il record, ma nella sua cartella qualcosa non va:"
                                                  : "Non riesco a leggere il record: in questa partita vale 0.");
    for (std::string& problem : record.problems) recordProblems_.push_back(std::move(problem));
    ReportRecordProblems();

    view_.setText(Field::lblconto, ClockText());
    // Every game counts from zero: the next pupil must not inherit this one's score.
    state_.correctCount = 0;
    state_.wrongCount = 0;
    scoreSaved_ = false;
    registered_ = false;
    view_.setText(Field::lblScore1, "0");
    view_.setText(Field::lblScore, "0");
}

void Game::Form_Activate() { cmdNext_Click(); }

void Game::Form_Resize(bool minimised)
{
    if (!minimised) view_.setCaption("Deroz Brivana");
}

void Game::Next_Click()
{
    if (ended_) return;
    const MsgAnswer answer =
        view_.messageBox("INIZIAMO UNA NUOVA GARA  ?", MsgStyle::yesNoQuestionDefaultNo, "INIZIARE NUOVA GARA");
    // The clock may have run out while the question was open.
    if (ended_ || answer == MsgAnswer::no) return;
    const int seconds = SecondsPlayed();

    SaveRecordIfBeaten("Ok ho registrato il tuo record, C A M P I O N E\"");
    // The clock may have run out behind the congratulation: that end wrote the game already.
    if (ended_) return;
    WriteToRegister(GameEnding::newGame, seconds);
    if (ended_) return;
    view_.reload();
}

std::string Game::GetSystemDir()
{
    RecordLocation location = services_.recordPlace.locate();
    state_.classRecord = location.classRecord;
    if (!location.notice.empty()) recordNotices_.push_back(std::move(location.notice));
    return location.dir;
}

void Game::ReportRecordProblems()
{
    if (recordNotices_.empty() && recordProblems_.empty()) return;
    std::string message;
    for (const std::string& notice : recordNotices_) message += notice + "\n";
    for (const std::string& problem : recordProblems_) message += problem + "\n";
    message.pop_back();
    recordNotices_.clear();
    recordProblems_.clear();
    view_.messageBox(message, MsgStyle::okExclamation);
}

}  // namespace brivana
