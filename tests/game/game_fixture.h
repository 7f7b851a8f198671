#pragma once
// A whole game under a fake view: scripted random draws, a fixed clock text and a
// temporary record directory.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "fake_services.h"
#include "fake_view.h"
#include "game/game.h"
#include "game/record_store.h"

namespace brivana::testing {

class GameFixture : public ::testing::Test {
protected:
    GameFixture();
    // Fails the test when the game drew more random values than the test scripted.
    void TearDown() override;

    // Loads the window as at program start, with the player's name typed into the prompt,
    // and poses the first question from the draws (pR, qR, sR).
    void StartGame(const std::string& name, double pR = 0.0, double qR = 0.0, double sR = 0.0);
    // Scripts the three draws of the next question.
    void ScriptQuestion(double pR, double qR, double sR);
    // Types the text into the answer box, key by key, then Enter.
    void Answer(const std::string& typed);
    // Answers the current question right (or wrong) and poses the next from scripted draws.
    void AnswerRight();
    void AnswerWrong();
    // The stored record files' bytes.
    std::string ScoreFile() const { return ReadBytes(dir.file("briv2s.txt")); }
    std::string HolderFile() const { return ReadBytes(dir.file("nbriv2s.txt")); }
    // The calls recorded since the given mark.
    std::vector<std::string> CallsSince(std::size_t mark) const;

    TempDir dir;
    FakeView view;
    ScriptedRandom random;
    FixedDateTime dateTime;
    FixedRecordPlace place{dir.recordDir()};
    FaultyFileAccess files;
    FixedRegisterStamps stamps;
    LocalRecordKeeper records{files, stamps};
    Game game{view, Services{random, dateTime, place, records}};
};

}  // namespace brivana::testing
