// The real dialogs, shown as the program shows them and answered by a timer as a player would:
// Italian buttons whatever the language of Windows, the name prompt's title shown whole, and
// the focus back in the answer box after a declined new game.
#include <vector>

#include "win32/system_dialogs.h"
#include "win32_game.h"

namespace brivana::test {

namespace {

// What a dialog showed when the player met it.
struct Seen {
    std::wstring title;
    std::vector<std::wstring> texts;    // static texts
    std::vector<std::wstring> buttons;  // button captions
    RECT client{};                      // in screen coordinates, as the parts below
    RECT text{};                        // the last static text
    RECT row{};                         // all the buttons
    int width = 0;
    bool focused = false;     // the focus was inside it
    bool ownerBuilt = false;  // its owner already had its controls
};

// Answers the dialogs of this thread one step each: types into the name box when the step
// says so, then presses a key on the control with the focus. It runs from a timer, inside
// the dialogs' own message loops.
class Player {
public:
    struct Step {
        std::wstring typed;
        UINT key;
    };
    explicit Player(std::vector<Step> steps) : steps_(std::move(steps))
    {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 100, &Player::OnTimer);
    }
    ~Player()
    {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    std::vector<Seen> seen;

private:
    static BOOL CALLBACK FindDialog(HWND hwnd, LPARAM found)
    {
        wchar_t kind[16] = {};
        GetClassNameW(hwnd, kind, 16);
        if (std::wstring_view(kind) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    static BOOL CALLBACK ReadChild(HWND child, LPARAM into)
    {
        auto& seen = *reinterpret_cast<Seen*>(into);
        wchar_t kind[16] = {};
        wchar_t text[1024] = {};
        GetClassNameW(child, kind, 16);
        GetWindowTextW(child, text, 1024);
        const std::wstring_view type(kind);
        RECT rect;
        GetWindowRect(child, &rect);
        if (type == L"Button") {
            seen.buttons.emplace_back(text);
            if (seen.buttons.size() == 1) seen.row = rect;
            UnionRect(&seen.row, &seen.row, &rect);
        }
        if (type == L"Static" && text[0]) {
            seen.texts.emplace_back(text);
            seen.text = rect;
        }
        return TRUE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        Player* self = current_;
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &Player::FindDialog, reinterpret_cast<LPARAM>(&dialog));
        if (!self || !dialog || dialog == self->last_ || self->steps_.empty()) return;
        self->last_ = dialog;
        Seen seen;
        wchar_t title[256] = {};
        GetWindowTextW(dialog, title, 256);
        seen.title = title;
        EnumChildWindows(dialog, &Player::ReadChild, reinterpret_cast<LPARAM>(&seen));
        RECT frame;
        GetWindowRect(dialog, &frame);
        seen.width = frame.right - frame.left;
        GetClientRect(dialog, &seen.client);
        MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&seen.client), 2);
        HWND focus = GetFocus();
        seen.focused = focus && IsChild(dialog, focus);
        seen.ownerBuilt = GetWindow(GetWindow(dialog, GW_OWNER), GW_CHILD) != nullptr;
        self->seen.push_back(std::move(seen));

        const Step step = self->steps_.front();
        self->steps_.erase(self->steps_.begin());
        if (!step.typed.empty()) SetDlgItemTextW(dialog, 102, step.typed.c_str());
        PostMessageW(focus && IsChild(dialog, focus) ? focus : dialog, WM_KEYDOWN, step.key, 1);
    }

    static inline thread_local Player* current_ = nullptr;
    std::vector<Step> steps_;
    UINT_PTR timer_ = 0;
    HWND last_ = nullptr;
};

int CaptionTextWidth(const std::wstring& title)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, title.c_str(), static_cast<int>(title.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return size.cx;
}

class RealDialogsTest : public Win32Game {};

TEST_F(RealDialogsTest, MessageBoxesAndTheNamePromptSpeakItalian)
{
    win32::SystemDialogs real;
    Player player({{L"", VK_RETURN}, {L"", 'S'}, {L"", VK_ESCAPE}, {L"", VK_RETURN}, {L"", VK_RETURN},
                   {L"Niccol\u00F2", VK_RETURN}, {L"Ada", VK_ESCAPE}});
    // No is the default button of the question: Enter answers No; S, Sì's access key, answers Sì;
    // Esc answers No.
    for (MsgAnswer answer : {MsgAnswer::no, MsgAnswer::yes, MsgAnswer::no})
        EXPECT_EQ(real.messageBox(nullptr, "INIZIAMO UNA NUOVA GARA  ?", MsgStyle::yesNoQuestionDefaultNo,
                                  "INIZIARE NUOVA GARA"),
                  answer);
    // A long name wraps, within the screen.
    const std::string name(260, 'W');
    EXPECT_EQ(real.messageBox(nullptr, "Ciao " + name + ", alla prossima sfida!", MsgStyle::ok,
                              "Data 08/12/2026 12:42:46"),
              MsgAnswer::ok);
    EXPECT_EQ(real.messageBox(nullptr, " Ada vediamo se sei un vero campione  ", MsgStyle::okExclamation,
                              "Sei pronto per il record? Buona fortuna"),
              MsgAnswer::ok);
    EXPECT_EQ(real.inputBox(nullptr, "Come ti chiami?", "Gioca con il prodotto di numeri relativi"),
              "Niccol\xC3\xB2");
    EXPECT_EQ(real.inputBox(nullptr, "Come ti chiami?", "Gioca con il prodotto di numeri relativi"), "");

    ASSERT_EQ(player.seen.size(), 7u);
    player.seen.erase(player.seen.begin() + 2);  // the question once more
    EXPECT_EQ(player.seen[0].title, L"INIZIARE NUOVA GARA");
    EXPECT_EQ(player.seen[0].buttons, (std::vector<std::wstring>{L"&S\u00EC", L"&No"}));
    EXPECT_EQ(player.seen[3].buttons, (std::vector<std::wstring>{L"OK"}));
    // Every title is shown whole, beside the caption's icon and buttons; a message box's
    // buttons are centred below its text.
    for (const Seen& seen : player.seen) {
        EXPECT_GE(seen.width, CaptionTextWidth(seen.title) + 3 * GetSystemMetrics(SM_CXSIZE)) << seen.width;
        if (seen.buttons.size() == 2 && seen.buttons[1] == L"Annulla") continue;  // the name prompt's sit right
        EXPECT_NEAR(seen.row.left - seen.client.left, seen.client.right - seen.row.right, 1);
        EXPECT_GE(seen.row.top, seen.text.bottom);
    }
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const Seen& farewell = player.seen[2];
    EXPECT_LE(farewell.width, work.right - work.left);
    EXPECT_GT(farewell.text.bottom - farewell.text.top, 3 * (player.seen[3].text.bottom - player.seen[3].text.top));
    // Every letter of the name is there, whatever the lines.
    ASSERT_EQ(farewell.texts.size(), 1u);
    std::wstring letters;
    for (const wchar_t c : farewell.texts[0])
        if (c != L' ' && c != L'\n') letters += c;
    EXPECT_EQ(letters, L"Ciao" + std::wstring(260, L'W') + L",allaprossimasfida!");
    const Seen& prompt = player.seen[4];
    EXPECT_EQ(prompt.title, L"Gioca con il prodotto di numeri relativi");
    EXPECT_EQ(prompt.texts, (std::vector<std::wstring>{L"Come ti chiami?"}));
    EXPECT_EQ(prompt.buttons, (std::vector<std::wstring>{L"OK", L"Annulla"}));
}

TEST_F(RealDialogsTest, TheFocusComesBackToTheAnswerBoxAfterDecliningANewGame)
{
    win32::SystemDialogs real;
    UseDialogs(real);
    Player player({{L"Ada", VK_RETURN}, {L"", VK_RETURN}, {L"", VK_RETURN}});
    tavola->start();
    Pump();
    ASSERT_EQ(player.seen.size(), 2u);
    // The window builds its controls while the name prompt waits; the prompt keeps the focus.
    EXPECT_TRUE(player.seen[0].ownerBuilt);
    EXPECT_TRUE(player.seen[0].focused);
    EXPECT_EQ(player.seen[1].title, L"Sei pronto per il record? Buona fortuna");
    EXPECT_EQ(GetFocus(), Control("txtAnswer"));

    OpenMenu("Next");  // Enter answers the default, No
    ASSERT_EQ(player.seen.size(), 3u);
    EXPECT_EQ(player.seen[2].title, L"INIZIARE NUOVA GARA");
    EXPECT_EQ(Text(Field::lblnome1), "Ada");
    EXPECT_EQ(GetFocus(), Control("txtAnswer"));
    Type(L"12");
    EXPECT_EQ(Text(Field::txtAnswer), "12");
}

}  // namespace

}  // namespace brivana::test
