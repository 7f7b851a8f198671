// The window's protocol driven through a port that writes down what it is asked, as either
// window would be: the order of the steps, the deferred rebuild, the titles and the paste.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fake_services.h"
#include "game/record_store.h"
#include "layout/control_table.h"
#include "layout/menu_table.h"
#include "scripted_dialogs.h"
#include "system/system_file_access.h"
#include "window_protocol/version.h"
#include "window_protocol/window_protocol.h"

namespace brivana::test {
namespace {

class RecordingPort final : public WindowPort {
public:
    void buildControls() override { log.push_back("build"); }
    void showWindow() override { log.push_back("show"); }
    void hideWindow() override { log.push_back("hide"); }
    bool minimised() const override { return false; }
    void setCaption(const std::string& caption) override { log.push_back("caption" + caption); }
    void setTimerRunning(bool running) override { log.push_back(running ? "timer on" : "timer off"); }
    void post(std::function<void()> call, int delayMs) override
    {
        posted = std::move(call);
        postedDelay = delayMs;
    }
    bool nestedLoopRunning() const override { return nestedLoop; }
    void closeMenus() override { log.push_back("close menus"); }
    std::string text(Field field) const override { return field == Field::txtAnswer ? answer : shown[field]; }
    void setText(Field field, const std::string& text) override
    {
        log.push_back(std::string(fieldName(field)) + "=" + (shown[field] = text));
    }
    void enableControl(std::string_view, bool) override {}
    void focusControl(std::string_view control) override { log.push_back("focus " + std::string(control)); }
    void eraseAnswerBeforeCaret() override { log.push_back("erase"); }
    void setSpokenText(std::string_view control, const std::string& text) override
    {
        log.push_back("say " + std::string(control) + ": " + text);
    }
    void announce(const std::string& words) override { log.push_back("announce " + words); }
    bool canFocus(std::string_view control) const override { return !cannotFocus.contains(std::string(control)); }
    void paintBackground(std::int16_t, std::int16_t) override {}
    DialogOwner dialogOwner() override { return this; }
    void loaded() override { log.push_back("loaded"); }
    void ended() override { log.push_back("ended"); }

    // Runs the posted call as the event loop would.
    void runPosted() { std::exchange(posted, nullptr)(); }

    std::vector<std::string> log;
    std::function<void()> posted;
    int postedDelay = -1;
    bool nestedLoop = false;
    std::string answer;
    std::set<std::string> cannotFocus;
    mutable std::map<Field, std::string> shown;
};

class WindowProtocolTest : public ::testing::Test {
protected:
    // classRecord: whether the record is the lab's.
    explicit WindowProtocolTest(bool classRecord = false) : classRecord_(classRecord) {}

    // Starts a game for Mario; the log then holds only what comes after.
    void Start()
    {
        dialogs.answerInput("Mario", [this] { port.log.push_back("prompt"); });
        dialogs.answerMessage();
        protocol.start();
    }
    std::vector<std::string> Steps(std::initializer_list<std::string> wanted) const
    {
        std::vector<std::string> steps;
        for (const std::string& step : port.log)
            for (const std::string& kind : wanted)
                if (step.starts_with(kind)) steps.push_back(step);
        return steps;
    }

    bool classRecord_;
    testing::TempDir dir;
    testing::FixedDateTime dateTime;
    testing::FixedRecordPlace place{dir.recordDir(), {}, classRecord_};
    SystemFileAccess files;
    testing::FixedRegisterStamps stamps;
    LocalRecordKeeper records{files, stamps};
    testing::ScriptedRandom random;
    ScriptedDialogs dialogs;
    RecordingPort port;
    WindowProtocol protocol{port, dialogs, Services{random, dateTime, place, records}};
};

TEST_F(WindowProtocolTest, LoadsBuildsBehindTheNamePromptShowsThenPosesTheFirstQuestion)
{
    Start();
    const std::vector<std::string> expected{"caption Giochiamo con il prodotto di numeri relativi",
                                            "prompt", "build", "focus cmdExit", "show",
                                            "captionDeroz Brivana", "focus txtAnswer", "focus txtAnswer",
                                            "loaded"};
    EXPECT_EQ(Steps({"caption", "prompt", "build", "focus", "show", "loaded"}), expected);
    EXPECT_TRUE(dialogs.scriptDone());
}

TEST_F(WindowProtocolTest, TheRebuildWaitsForTheEventLoopAndRetriesWhileAMenuOrADialogRuns)
{
    Start();
    port.log.clear();
    protocol.reload();
    protocol.reload();  // asked twice, rebuilt once
    ASSERT_TRUE(port.posted);
    EXPECT_EQ(port.postedDelay, 0);
    port.nestedLoop = true;
    port.runPosted();
    ASSERT_TRUE(port.posted);
    EXPECT_EQ(port.postedDelay, layout::kTimerIntervalMs / 10);
    EXPECT_TRUE(Steps({"build", "hide"}).empty());

    port.nestedLoop = false;
    dialogs.answerInput("Luca");
    dialogs.answerMessage();
    port.runPosted();
    const std::vector<std::string> expected{"hide",          "build", "focus cmdExit", "show", "focus txtAnswer",
                                            "focus txtAnswer", "loaded"};
    EXPECT_EQ(Steps({"hide", "build", "focus", "show", "loaded"}), expected);
    EXPECT_FALSE(port.posted);
    EXPECT_FALSE(protocol.rebuildPending());
}

TEST_F(WindowProtocolTest, MessagesWithoutATitleAndTheCreditsAreTitledBrivana)
{
    dialogs.answerMessage();
    dialogs.answerMessage();
    protocol.messageBox("Ciao", MsgStyle::ok);
    protocol.copy_Click(3);
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[0].title, "Brivana");
    EXPECT_EQ(dialogs.shown()[1].title, "Brivana");
    EXPECT_EQ(dialogs.shown()[1].text, "Brivana " + std::string(kVersion) + "\n" + std::string(layout::CreditsText()));
}

TEST_F(WindowProtocolTest, APasteKeepsWhatTypingWouldAndNeverEvaluates)
{
    Start();
    port.log.clear();
    std::string kept;
    for (char32_t c : std::u32string(U"-12abc\r\n\t\b3\u00e9\u20ac")) {
        if (protocol.pasteCharacter(c)) kept += static_cast<char>(c);
    }
    EXPECT_EQ(kept, "-123");
    EXPECT_TRUE(port.log.empty());  // no verdict

    char32_t enter = U'\r';
    EXPECT_FALSE(protocol.typeCharacter(enter));
    EXPECT_FALSE(port.log.empty());  // the verdict
}

TEST_F(WindowProtocolTest, EachControlHasItsWordsBeforeItTakesTheFocusAndTheBoxIsEmptiedAfter)
{
    Start();
    port.answer = "-7";
    port.log.clear();
    char32_t enter = U'\r';
    protocol.typeCharacter(enter);
    random.queueQuestion(-3, -4, 0);
    protocol.game().cmdNext_Click();
    protocol.setText(Field::lblconto, "00:01:01");
    protocol.setText(Field::lblconto, "00:01:00");
    protocol.setText(Field::lblconto, "00:00:59");
    const std::vector<std::string> expected{
        "say cmdNext: Sbagliato!! meno 60. Risposte esatte 0, errate 1, totali 1.",
        "focus cmdNext",
        "say txtAnswer: Quanto fa meno 3 per meno 4? Scrivi il risultato e premi Invio.",
        "focus txtAnswer",
        "txtAnswer=",
        "focus txtAnswer",
        "announce Attenzione: manca un minuto alla fine del gioco."};
    EXPECT_EQ(Steps({"say cmdNext", "say txtAnswer", "focus", "txtAnswer", "announce"}), expected);
    EXPECT_EQ(Steps({"say lblScore1"}), std::vector<std::string>{"say lblScore1: Risposte errate 1"});
}

// Where the focus goes back after the window was left, a menu, or the NUOVO GIOCO question.
TEST_F(WindowProtocolTest, TheFocusGoesBackWhereItWasOrToTheFirstControlThatCanTakeIt)
{
    struct Row {
        const char* what;
        std::string seen;         // where the window saw the focus last
        std::string cannotFocus;  // a control that cannot take the focus now
        std::function<void()> event;
        std::vector<std::string> steps;
    };
    const auto regain = [this] { protocol.regainFocus(); };
    const auto declineNewGame = [this] {
        dialogs.answerMessage(MsgAnswer::no);
        protocol.menuOpened("Next");
        port.runPosted();
    };
    const auto otherMenu = [this] { protocol.menuOpened("Ciao"); };
    const std::vector<Row> rows{
        {"back to the control it was on", "cmdExit", "", regain, {"focus cmdExit"}},
        {"a disabled button: the first in tab order that can", "cmdNext", "cmdNext", regain, {"focus cmdExit"}},
        {"no: the drop-down closes, the keys go back to the box", "txtAnswer", "", declineNewGame,
         {"close menus", "close menus", "focus txtAnswer"}},
        {"another menu asks nothing and leaves its drop-down", "txtAnswer", "", otherMenu, {}},
    };
    Start();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        protocol.focusSeen(row.seen);
        port.cannotFocus = {row.cannotFocus};
        port.log.clear();
        row.event();
        EXPECT_EQ(Steps({"focus", "close menus"}), row.steps);
        port.cannotFocus.clear();
    }
    // A new game gives the focus its own way: nothing goes back while it is being built.
    dialogs.answerMessage(MsgAnswer::yes);
    protocol.menuOpened("Next");
    port.runPosted();
    ASSERT_TRUE(protocol.rebuildPending());
    port.log.clear();
    protocol.regainFocus();
    EXPECT_TRUE(Steps({"focus"}).empty());
}

class WindowProtocolClassRecord : public WindowProtocolTest, public ::testing::WithParamInterface<bool> {
protected:
    WindowProtocolClassRecord() : WindowProtocolTest(GetParam()) {}
};

TEST_P(WindowProtocolClassRecord, TheRecordAndItsHolderAreSaidToBeTheClasssOnlyWhenTheLabKeepsThem)
{
    testing::WriteBytes(dir.file("briv2s.txt"), "12\r\n");
    testing::WriteBytes(dir.file("nbriv2s.txt"), "Bea\r\n");
    Start();
    const std::string whose = GetParam() ? " della classe" : "";
    const std::vector<std::string> said = Steps({"say lblpunti", "say lblnome:"});
    ASSERT_GE(said.size(), 2u);
    EXPECT_EQ(said[said.size() - 2], "say lblpunti: Punti del record" + whose + " 12");
    EXPECT_EQ(said.back(), "say lblnome: Detentore del record" + whose + " Bea");
    // The labels show what they always showed.
    EXPECT_EQ(port.shown[Field::lblpunti], "12\r\n");
}

INSTANTIATE_TEST_SUITE_P(LabOrComputer, WindowProtocolClassRecord, ::testing::Bool());

}  // namespace
}  // namespace brivana::test
