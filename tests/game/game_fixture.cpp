#include "game_fixture.h"

namespace brivana::testing {

GameFixture::GameFixture()
{
    // A new game reloads the window, which loads, shows and activates it again.
    view.onReload = [this] {
        game.Form_Load();
        game.Form_Resize(false);
        game.Form_Activate();
    };
}

void GameFixture::TearDown()
{
    EXPECT_EQ(random.unscripted, 0) << "the game drew more random values than the test scripted";
}

void GameFixture::StartGame(const std::string& name, double pR, double qR, double sR)
{
    view.inputAnswers.push_back(name);
    game.Form_Load();
    game.Form_Resize(false);
    ScriptQuestion(pR, qR, sR);
    game.Form_Activate();
}

void GameFixture::ScriptQuestion(double pR, double qR, double sR)
{
    random.values.insert(random.values.end(), {pR, qR, sR});
}

void GameFixture::Answer(const std::string& typed)
{
    std::string box;
    for (const char c : typed) {
        std::int16_t key = static_cast<unsigned char>(c);
        game.txtAnswer_KeyPress(key);
        if (key != 0) box += static_cast<char>(key);
        view.setText(Field::txtAnswer, box);
    }
    std::int16_t enter = 13;
    game.txtAnswer_KeyPress(enter);
}

void GameFixture::AnswerRight()
{
    Answer(std::to_string(game.state().expectedProduct));
    ScriptQuestion(0.5, 0.5, 0.5);
    game.cmdNext_Click();
}

void GameFixture::AnswerWrong()
{
    Answer(std::to_string(game.state().expectedProduct + 1));
    ScriptQuestion(0.5, 0.5, 0.5);
    game.cmdNext_Click();
}

std::vector<std::string> GameFixture::CallsSince(std::size_t mark) const
{
    return {view.calls.begin() + static_cast<std::ptrdiff_t>(mark), view.calls.end()};
}

}  // namespace brivana::testing
