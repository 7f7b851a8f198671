// Playing in the Win32 window: keys, clicks, menus, the clock and the frame, and whole games
// from the name prompt to the record's bytes.
#include <oleacc.h>

#include "win32_game.h"

namespace brivana::test {

namespace {

const std::string kFarewell = "Ciao Niccol\xC3\xB2, alla prossima sfida!";
const std::string kSaved = "Ok ho registrato il tuo record, C A M P I O N E";

class PlayTest : public Win32Game {};

// What a screen reader hears through MSAA: at each focus event and each alert, the object's
// name and description as they are when the event is raised.
std::vector<std::wstring>* g_heard = nullptr;

void CALLBACK Hear(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD)
{
    IAccessible* accessible = nullptr;
    VARIANT self{};
    if (!g_heard || FAILED(AccessibleObjectFromEvent(hwnd, object, child, &accessible, &self))) return;
    BSTR name = nullptr, description = nullptr;
    accessible->get_accName(self, &name);
    accessible->get_accDescription(self, &description);
    g_heard->push_back(std::wstring(name ? name : L"") + L": " + (description ? description : L""));
    SysFreeString(name);
    SysFreeString(description);
    accessible->Release();
}

TEST_F(PlayTest, AWholeGameFromTheNamePromptToTheRecordBytes)
{
    random.queueQuestion(-1, -16, 0);  // -1 x (-16)
    random.queueQuestion(-9, -14, 2);  // 9 x (-14)
    Start("Niccol\xC3\xB2");
    EXPECT_EQ(dialogs.shown().at(0).text, "Come ti chiami?");
    EXPECT_EQ(dialogs.shown().at(0).title, "Gioca con il prodotto di numeri relativi");
    EXPECT_EQ(WindowText(tavola->hwnd()), L"Deroz Brivana");
    EXPECT_EQ(Text(Field::lblNum1), "-1");
    EXPECT_EQ(Text(Field::lblNum2), "-16");
    EXPECT_EQ(GetFocus(), Control("txtAnswer"));
    EXPECT_FALSE(IsWindowEnabled(Control("cmdNext")));

    // Letters are swallowed; Enter evaluates and hands the focus to the button.
    Answer(L"a1b6");
    EXPECT_EQ(Text(Field::txtAnswer), "16");
    EXPECT_EQ(Text(Field::lblMessage), "Esatto. Sei proprio in gamba!");
    EXPECT_EQ(Text(Field::lblScore), "1");
    EXPECT_EQ(Text(Field::lblScore2), "1");
    EXPECT_EQ(GetFocus(), Control("cmdNext"));

    // Enter again poses the next question; with the record at 0 the score of 1 beats it.
    dialogs.answerMessage();
    Key(VK_RETURN);
    EXPECT_EQ(dialogs.messages().back(), "E' record");
    EXPECT_EQ(Text(Field::lblNum1), "9");
    EXPECT_EQ(Text(Field::txtAnswer), "");
    EXPECT_EQ(GetFocus(), Control("txtAnswer"));

    dialogs.answerMessage();
    dialogs.answerMessage();
    Key('X', true);
    ASSERT_GE(dialogs.shown().size(), 2u);
    const ShownDialog& farewell = dialogs.shown()[dialogs.shown().size() - 2];
    EXPECT_EQ(farewell.text, kFarewell);
    EXPECT_EQ(farewell.title, "Data " + kNow);
    EXPECT_EQ(dialogs.messages().back(), kSaved);
    EXPECT_TRUE(tavola->hasEnded());
    EXPECT_FALSE(IsWindowVisible(tavola->hwnd()));
    EXPECT_EQ(ScoreFile(), "1\r\n");
    EXPECT_EQ(HolderFile(), "Niccol\xF2\r\n");
    EXPECT_TRUE(dialogs.scriptDone());
    EXPECT_TRUE(dialogs.surprises().empty());
}

// A modifier held down while the keys of f are delivered, as the keyboard state reports it.
template <typename F>
void Holding(BYTE key, F f)
{
    BYTE state[256];
    GetKeyboardState(state);
    state[key] = 0x80;
    SetKeyboardState(state);
    f();
    state[key] = 0;
    SetKeyboardState(state);
}

void PutOnClipboard(HWND owner, const std::wstring& text)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

// What the answer box holds after the keys of each row, typed with the focus in it.
TEST_F(PlayTest, AScreenReaderHearsTheQuestionAndTheVerdictAsTheFocusMovesAndTheClockWhenAsked)
{
    random.queueQuestion(-3, -4, 0);  // -3 x (-4)
    random.queueQuestion(-7, -2, 2);  // 7 x (-2)
    Start("Ada");
    std::vector<std::wstring> heard;
    g_heard = &heard;
    // In context: the hook runs as the event is raised, before the window goes on.
    std::vector<HWINEVENTHOOK> hooks;
    for (DWORD event : {EVENT_OBJECT_FOCUS, EVENT_SYSTEM_ALERT})
        hooks.push_back(
            SetWinEventHook(event, event, GetModuleHandleW(nullptr), &Hear, GetCurrentProcessId(), 0, WINEVENT_INCONTEXT));
    Answer(L"11");
    Key(VK_RETURN);
    Key(VK_F2);
    Key(VK_TAB);
    for (HWINEVENTHOOK hook : hooks) UnhookWinEvent(hook);
    g_heard = nullptr;
    const std::vector<std::wstring> expected{
        L"Nuovo calcolo: Sbagliato!! 12. Risposte esatte 0, errate 1, totali 1.",
        L"Risposta: Quanto fa 7 per meno 2? Scrivi il risultato e premi Invio.",
        L"Tempo restante 15 minuti: ",
        L"Pulsante senza funzione: ",
    };
    EXPECT_EQ(heard, expected);
}

TEST_F(PlayTest, OnlyWhatAnIntegerNeedsGetsIntoTheAnswerBox)
{
    struct Row {
        const char* what;
        std::function<void()> keys;
        std::string shown;
    };
    // The controls exist once the game has started.
    random.queueQuestion(-3, -4, 0);
    Start("Ada");
    HWND box = Control("txtAnswer");
    const auto send = [&](UINT message, WPARAM wParam) {
        PostMessageW(box, message, wParam, 1);
        Pump();
    };
    const std::vector<Row> rows{
        {"digits and minus, letters swallowed", [&] { Type(L"-a7x"); }, "-7"},
        {"four characters at most", [&] { Type(L"12345"); }, "1234"},
        {"backspace erases", [&] { Type(L"123\b"); }, "12"},
        {"a dead-key composition is a character like any other", [&] { Type(L"1\u00E92"); }, "12"},
        {"characters outside the single-byte set", [&] { Type(L"1\u20AC\u0131"); }, "1"},
        {"Home and Delete keep their editing role",
         [&] {
             Type(L"1234");
             Key(VK_HOME);
             Key(VK_DELETE);
             Key(VK_DELETE);
         },
         "34"},
        {"an arrow moves the caret", [&] { Type(L"12"); Key(VK_LEFT); Type(L"5"); }, "152"},
        {"input-method characters pass the same filter", [&] { send(WM_IME_CHAR, L'5'); send(WM_IME_CHAR, L'a'); }, "5"},
        {"Ctrl+V is a control character: dropped, nothing pasted",
         [&] { PutOnClipboard(tavola->hwnd(), L"99"); Type(L"1\x16"); }, "1"},
        {"a paste from the menu is filtered, and never evaluates",
         [&] { PutOnClipboard(tavola->hwnd(), L"1a\r\n-2"); send(WM_PASTE, 0); }, "1-2"},
        {"text set by another program is filtered too", [&] { SetWindowTextW(box, L"7b8"); }, "78"},
        {"Shift+Insert pastes through the same filter",
         [&] { PutOnClipboard(tavola->hwnd(), L"x42"); Holding(VK_SHIFT, [&] { Key(VK_INSERT); }); }, "42"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        tavola->setText(Field::txtAnswer, "");
        SetFocus(box);
        row.keys();
        EXPECT_EQ(Text(Field::txtAnswer), row.shown);
    }
    // None of it evaluated an answer.
    EXPECT_EQ(Text(Field::lblMessage), "");
    EXPECT_EQ(tavola->game().state().wrongCount, 0);
}

TEST_F(PlayTest, EnterAndTheAccessKeysGoToTheRightButton)
{
    random.queueQuestion(-2, -3, 0);
    Start("Ada");
    // Alt+N does nothing while cmdNext is disabled.
    Key('N', true);
    EXPECT_EQ(Text(Field::lblNum1), "-2");

    Answer(L"5");
    EXPECT_EQ(Text(Field::lblMessage), "Sbagliato!! 6");
    EXPECT_EQ(Text(Field::lblScore1), "1");
    // The focus back in the box: Enter now clicks the default button, not the evaluation.
    random.queueQuestion(-7, -8, 0);
    SetFocus(Control("txtAnswer"));
    Key(VK_RETURN);
    EXPECT_EQ(Text(Field::lblNum1), "-7");
    EXPECT_EQ(tavola->game().state().wrongCount, 1);

    Answer(L"56");
    random.queueQuestion(-4, -5, 0);
    Key('N', true);
    EXPECT_EQ(Text(Field::lblNum1), "-4");

    // A focused button takes the Enter itself: here Exit.
    SetFocus(Control("cmdExit"));
    dialogs.answerMessage();
    dialogs.answerMessage();
    Key(VK_RETURN);
    EXPECT_TRUE(tavola->hasEnded());
    EXPECT_EQ(ScoreFile(), "1\r\n");
}

// Ctrl+Backspace, Esc, Ctrl+Enter and Alt+X as the protocol's table says.
TEST_F(PlayTest, TheWindowHandsItsKeysToTheProtocol)
{
    random.queueQuestion(-2, -3, 0);  // 6
    Start("Ada");
    Type(L"-12");
    Holding(VK_CONTROL, [&] { Key(VK_BACK); });
    EXPECT_EQ(Text(Field::txtAnswer), "");
    Type(L"6");
    Key(VK_ESCAPE);
    EXPECT_EQ(Text(Field::txtAnswer), "6");
    Holding(VK_CONTROL, [&] { Key(VK_RETURN); });
    EXPECT_EQ(Text(Field::lblMessage), "Esatto. Sei proprio in gamba!");

    dialogs.answerMessage();
    dialogs.answerMessage();
    Key('X', true);
    EXPECT_TRUE(tavola->hasEnded());
}

TEST_F(PlayTest, TabFollowsTheDesignOrderAndSkipsADisabledButton)
{
    Start("Ada");
    SetFocus(Control("cmdExit"));
    std::vector<HWND> visited;
    for (int i = 0; i < 4; ++i) {
        Key(VK_TAB);
        visited.push_back(GetFocus());
    }
    EXPECT_EQ(visited, (std::vector{Control("txtAnswer"), Control("Command1"), Control("cmdExit"), Control("txtAnswer")}));
    Answer(L"1");
    SetFocus(Control("cmdExit"));
    Key(VK_TAB);
    EXPECT_EQ(GetFocus(), Control("cmdNext"));
    Holding(VK_SHIFT, [&] { Key(VK_TAB); });
    EXPECT_EQ(GetFocus(), Control("cmdExit"));
}

TEST_F(PlayTest, ClicksReachWhatIsDrawnOnTopAndTheInertControlsDoNothing)
{
    random.queueQuestion(-2, -3, 0);
    Start("Ada");
    Answer(L"6");
    const std::string verdict = Text(Field::lblMessage);
    for (const char* inert : {"Image1", "lblTime", "lblScore", "Label6", "lblMessage"}) {
        SCOPED_TRACE(inert);
        ClickOn(inert);
        EXPECT_EQ(Text(Field::lblMessage), verdict);
    }
    // Command1 lies inside cmdNext, under it: the middle of the button poses a question.
    random.queueQuestion(-9, -5, 0);
    dialogs.answerMessage();  // "E' record"
    ClickOn("Command1");
    EXPECT_EQ(Text(Field::lblNum1), "-9");
    EXPECT_TRUE(dialogs.surprises().empty());
}

TEST_F(PlayTest, TheMenusAskBeforeANewGameAndShowTheCredits)
{
    random.queueQuestion(-2, -3, 0);
    Start("Ada");
    Answer(L"6");
    dialogs.answerMessage();  // "E' record"
    Answer(L"");  // the next question

    // Opening the other menus runs nothing; choosing their entries changes nothing.
    OpenMenu("INFOMAZIONI");
    OpenMenu("Ciao");
    for (const char* entry : {"Istituto", "o"})
        SendMessageW(tavola->hwnd(), WM_COMMAND, tavola->menuCommand(entry), 0);
    Pump();
    EXPECT_EQ(dialogs.shown().size(), 3u);

    dialogs.answerMessage();
    SendMessageW(tavola->hwnd(), WM_COMMAND, tavola->menuCommand("copy"), 0);
    Pump();
    EXPECT_NE(dialogs.messages().back().find("GPL-3.0-or-later"), std::string::npos);

    // No keeps the game as it was; asked again at the next opening.
    dialogs.answerMessage(MsgAnswer::no);
    OpenMenu("Next");
    const ShownDialog& question = dialogs.shown().back();
    EXPECT_EQ(question.text, "INIZIAMO UNA NUOVA GARA  ?");
    EXPECT_EQ(question.title, "INIZIARE NUOVA GARA");
    EXPECT_EQ(question.style, MsgStyle::yesNoQuestionDefaultNo);
    EXPECT_EQ(Text(Field::lblnome1), "Ada");

    // Yes: the record is saved, then the window is built afresh and a new game starts.
    dialogs.answerMessage(MsgAnswer::yes);
    dialogs.answerMessage();  // the congratulation
    dialogs.answerInput("Bea");
    dialogs.answerMessage();
    OpenMenu("Next");
    EXPECT_EQ(dialogs.messages().at(dialogs.messages().size() - 2), kSaved + "\"");
    EXPECT_EQ(Text(Field::lblnome1), "Bea");
    EXPECT_EQ(Text(Field::lblpunti), "1\r\n");
    EXPECT_EQ(Text(Field::lblScore), "0");
    EXPECT_EQ(Text(Field::lblconto), "00:15:00");
    EXPECT_TRUE(IsWindowVisible(tavola->hwnd()));
    EXPECT_EQ(GetFocus(), Control("txtAnswer"));
    EXPECT_TRUE(dialogs.scriptDone());
}

TEST_F(PlayTest, NuovoGiocoOpenedWithKeysOrMouseAsksFirstThenStartsTheNewGameAtOnce)
{
    struct Row {
        const char* how;
        std::function<void(HWND, HMENU)> open;
        std::string next;  // the next player's name
    };
    Start("Ada");
    for (const Row& row : std::initializer_list<Row>{
             {"keys: F10 selects the first menu, two steps right and down open the third",
              [](HWND hwnd, HMENU) {
                  PostMessageW(hwnd, WM_SYSCOMMAND, SC_KEYMENU, 0);
                  for (UINT key : {VK_RIGHT, VK_RIGHT, VK_DOWN}) PostMessageW(hwnd, WM_KEYDOWN, key, 1);
              },
              "Bea"},
             {"mouse: a click on it in the menu bar",
              [](HWND hwnd, HMENU bar) {
                  RECT item;
                  GetMenuItemRect(hwnd, bar, 2, &item);
                  PostMessageW(hwnd, WM_NCLBUTTONDOWN, HTMENU,
                               MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2));
              },
              "Cleo"},
         }) {
        SCOPED_TRACE(row.how);
        // Whatever happens, the menu closes within seconds: a test never hangs in it.
        const UINT_PTR safety = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
        dialogs.answerMessage(MsgAnswer::yes);
        dialogs.answerInput(row.next);
        dialogs.answerMessage();
        const std::size_t before = dialogs.shown().size();
        row.open(tavola->hwnd(), GetMenu(tavola->hwnd()));
        const DWORD began = GetTickCount();
        while (Text(Field::lblnome1) != row.next && GetTickCount() - began < 4000) {
            Pump();
            Sleep(20);
        }
        KillTimer(nullptr, safety);
        ASSERT_GT(dialogs.shown().size(), before);
        EXPECT_EQ(dialogs.shown().at(before).text, "INIZIAMO UNA NUOVA GARA  ?");
        EXPECT_EQ(Text(Field::lblnome1), row.next);
        EXPECT_LT(GetTickCount() - began, 4000u) << "the new game waited for the menu to close";
        EXPECT_TRUE(dialogs.scriptDone());
    }
}

TEST_F(PlayTest, TheClockTicksThroughTheWindowsTimer)
{
    Start("Ada");
    EXPECT_TRUE(tavola->timerEnabled());
    Tick(61);
    EXPECT_EQ(Text(Field::lblconto), "00:13:59");
    // Restoring from the task bar sets the caption; minimising leaves it.
    SetWindowTextW(tavola->hwnd(), L"x");
    SendMessageW(tavola->hwnd(), WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(WindowText(tavola->hwnd()), L"x");
    SendMessageW(tavola->hwnd(), WM_SIZE, SIZE_RESTORED, 0);
    EXPECT_EQ(WindowText(tavola->hwnd()), L"Deroz Brivana");
}

TEST_F(PlayTest, ClosingTheFrameEndsTheGameAsExitDoes)
{
    random.queueQuestion(-2, -3, 0);
    Start("Ada");
    Answer(L"6");
    dialogs.answerMessage();
    dialogs.answerMessage();
    SendMessageW(tavola->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_EQ(dialogs.messages().back(), kSaved);
    EXPECT_TRUE(tavola->hasEnded());
    EXPECT_EQ(HolderFile(), "Ada\r\n");
}

}  // namespace

}  // namespace brivana::test
