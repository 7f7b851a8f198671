// The start of a game: name, greeting, clock, record, tallies, first question.
#include "game_fixture.h"

namespace brivana::testing {
namespace {

class StartUp : public GameFixture {};

TEST_F(StartUp, AsksTheNameGreetsStartsTheClockAndShowsTheRecordInThatOrder)
{
    WriteBytes(dir.file("briv2s.txt"), "17\r\n");
    WriteBytes(dir.file("nbriv2s.txt"), "Niccol\xF2\r\n");
    view.inputAnswers.push_back("Anna");
    game.Form_Load();
    EXPECT_EQ(view.calls, (std::vector<std::string>{
                              "timer 0",
                              "input Come ti chiami?",
                              "message  Anna vediamo se sei un vero campione  ",
                              "setText lblnome1=Anna",
                              "timer 1",
                              "setText lblconto=00:15:00",
                              "setText lblpunti=17\r\n",
                              "setText lblnome=Niccolò\r\n",
                              "setText lblconto=00:15:00",
                              "setText lblScore1=0",
                              "setText lblScore=0",
                          }));
    EXPECT_EQ(random.log, "R") << "reseeded before anything else";
    EXPECT_EQ(view.dialogs[0].title, "Gioca con il prodotto di numeri relativi");
    EXPECT_EQ(view.dialogs[1].title, "Sei pronto per il record? Buona fortuna");
    EXPECT_EQ(view.dialogs[1].style, MsgStyle::okExclamation);
    EXPECT_EQ(view.text(Field::lblScore2), "0") << "the total keeps its design-time text";
    EXPECT_EQ(game.state().recordDir, dir.recordDir());
}

TEST_F(StartUp, CreatesBothRecordFilesEmptyOnTheFirstStart)
{
    StartGame("Anna");
    EXPECT_EQ(ScoreFile(), "");
    EXPECT_EQ(HolderFile(), "");
    EXPECT_EQ(view.text(Field::lblpunti), "");
    EXPECT_EQ(view.text(Field::lblnome), "");
    EXPECT_EQ(view.messages().size(), 1u) << "nothing to report but the greeting";
}

TEST_F(StartUp, GivesAnEmptyNameWhenThePromptIsCancelled)
{
    game.Form_Load();
    EXPECT_EQ(view.dialogs[1].text, "  vediamo se sei un vero campione  ");
    EXPECT_EQ(view.text(Field::lblnome1), "");
}

TEST_F(StartUp, PosesTheFirstQuestionWhenTheWindowIsActivated)
{
    StartGame("Anna", 0.3, 0.5, 0.4);
    EXPECT_EQ(view.text(Field::lblNum1), "-4");
    EXPECT_EQ(view.text(Field::lblNum2), "10");
    EXPECT_EQ(view.focus, "txtAnswer");
}

TEST_F(StartUp, SetsTheCaptionOnResizeUnlessMinimised)
{
    game.Form_Resize(true);
    EXPECT_EQ(view.caption, "");
    game.Form_Resize(false);
    EXPECT_EQ(view.caption, "Deroz Brivana");
}

TEST_F(StartUp, PassesOnWhereTheRecordIsKeptWhenThatIsUnusual)
{
    FixedRecordPlace personal(dir.recordDir(), "Non posso scrivere il record nella cartella comune.");
    Game other(view, Services{random, dateTime, personal, records});
    other.Form_Load();
    ASSERT_EQ(view.messages().size(), 2u);
    EXPECT_EQ(view.messages()[1], "Non posso scrivere il record nella cartella comune.");
}

}  // namespace
}  // namespace brivana::testing
