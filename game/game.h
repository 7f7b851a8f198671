#pragma once
// The rules of a game of Brivana, as the handlers of the window's events. The window owns
// one Game, passes every event to the handler of the same name, and is driven back through
// GameView. Time and randomness come in through the services; the window owns the timer.

#include <cstdint>
#include <string>
#include <vector>

#include "game/date_time_source.h"
#include "game/game_state.h"
#include "game/game_view.h"
#include "game/random_source.h"
#include "game/record_keeper.h"
#include "game/record_place.h"
#include "game/register_line.h"

namespace brivana {

struct Services {
    RandomSource& random;
    DateTimeSource& dateTime;
    RecordPlace& recordPlace;
    RecordKeeper& records;
};

class Game {
public:
    Game(GameView& view, Services services);

    const GameState& state() const { return state_; }
    // Whether the end of the game has begun: from then on every handler does nothing.
    bool ended() const { return ended_; }

    // Start-up: name prompt, greeting, clock, record; then the first question.
    void Form_Load();
    void Form_Activate();
    void Form_Resize(bool minimised);

    // Poses the next multiplication.
    void cmdNext_Click();
    // One typed character; setting keyAscii to 0 discards it.
    void txtAnswer_KeyPress(std::int16_t& keyAscii);
    // Says goodbye, saves a better record, writes the game in the register and ends the program.
    void cmdExit_Click();
    // The window is being closed from its frame: the game ends as with Exit.
    void Form_Unload();
    // One tick of the one-second timer.
    void Timer1_Timer();
    // The "NUOVO GIOCO" menu was opened: confirm, save a better record, reload the window.
    void Next_Click();

    // The directory of the record files, ending in a path separator.
    std::string GetSystemDir();

    // The clock as shown, e.g. "00:14:59".
    std::string ClockText() const;

private:
    void StartClock();
    // The end of the game, however it came: farewell, record, register, end of the program.
    void EndGame(GameEnding ending);
    // Appends this game's result to the register beside the record; tells the player if it failed.
    // seconds: played until the game's end was decided.
    void WriteToRegister(GameEnding ending, int seconds);
    // Seconds played by this game's clock.
    int SecondsPlayed() const;
    // Saves the score and name as the record when the score beats it, and tells the player
    // what happened. Returns whether it saved.
    bool SaveRecordIfBeaten(const std::string& congratulation);
    // Shows what start-up found about the record in one message box, then forgets it.
    void ReportRecordProblems();

    GameView& view_;
    Services services_;
    GameState state_;
    bool ended_ = false;
    // This game's score is the stored record already: the end must not try to save it again.
    bool scoreSaved_ = false;
    // This game's line is in the register already (or was tried): the end must not write another.
    bool registered_ = false;
    std::vector<std::string> recordNotices_;   // where the record is kept, when unusual
    std::vector<std::string> recordProblems_;  // what went wrong reading the record, said first whether it was read
};

}  // namespace brivana
