// What the Win32 window shows: where each control stands, its font, tooltip and accessible
// text, the gradient's pixels after a covering window, and the faces of the buttons.
#include "win32_game.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "layout/gradient_bands.h"

namespace brivana::test {

namespace {

double Luminance(COLORREF colour)
{
    const auto linear = [](int component) {
        const double c = component / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(GetRValue(colour)) + 0.7152 * linear(GetGValue(colour)) + 0.0722 * linear(GetBValue(colour));
}

double Contrast(COLORREF a, COLORREF b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

class LookTest : public Win32Game {
protected:
    void SetUp() override
    {
        if (tavola->dpi() != 96) GTEST_SKIP() << "the pixel positions below are those of 100 %";
    }
    // The highest contrast against `against` among the pixels of a client rectangle.
    double StrongestContrast(RECT area, COLORREF against) const
    {
        double best = 1;
        for (LONG y = area.top; y < area.bottom; ++y)
            for (LONG x = area.left; x < area.right; ++x) best = std::max(best, Contrast(PixelAt({x, y}), against));
        return best;
    }
    HWND Tooltips() const
    {
        HWND tips = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM found) {
                wchar_t kind[32] = {};
                GetClassNameW(hwnd, kind, 32);
                if (std::wstring_view(kind) != TOOLTIPS_CLASSW) return TRUE;
                *reinterpret_cast<HWND*>(found) = hwnd;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&tips));
        return tips;
    }
    std::wstring Tooltip(const char* name) const
    {
        HWND tips = Tooltips();
        wchar_t text[256] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = tavola->hwnd();
        tool.uId = reinterpret_cast<UINT_PTR>(Control(name));
        tool.lpszText = text;
        SendMessageW(tips, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
        return text;
    }
};

TEST_F(LookTest, ControlsStandWhereTheDesignPutsThemInAClientAreaOfItsSize)
{
    random.queueQuestion(-7, -3, 0);
    Start("Ada");
    RECT client;
    GetClientRect(tavola->hwnd(), &client);
    EXPECT_EQ(client.right, 792);
    EXPECT_EQ(client.bottom, 554);
    struct Row {
        const char* name;
        RECT rect;  // left, top, right, bottom in pixels: the design's twips divided by 15
    };
    for (const Row& row : std::initializer_list<Row>{
             {"txtAnswer", {616, 8, 777, 88}},
             {"cmdNext", {168, 352, 289, 425}},
             {"cmdExit", {512, 352, 633, 425}},
             {"Command1", {200, 376, 257, 417}},
             {"Label12", {72, 496, 225, 521}},
             {"Label5", {320, -8, 353, 105}},
             {"Image1", {24, 160, 56, 192}},
             {"lblMessage", {176, 136, 809, 177}},
         }) {
        SCOPED_TRACE(row.name);
        const RECT rect = Rect(row.name);
        EXPECT_EQ(rect.left, row.rect.left);
        EXPECT_EQ(rect.top, row.rect.top);
        EXPECT_EQ(rect.right, row.rect.right);
        EXPECT_EQ(rect.bottom, row.rect.bottom);
    }
    // lblMessage's empty box overlaps the clock's frame by a pixel: the frame shows.
    const RECT clock = Rect("lblconto");
    EXPECT_EQ(PixelAt({clock.right - 1, (clock.top + clock.bottom) / 2}), RGB(255, 255, 0));
    // Boxes that fit their text grow to the right from a fixed left edge.
    const RECT one = Rect("lblNum1");
    random.queueQuestion(-11, -3, 0);
    Answer(L"21");
    Key(VK_RETURN);
    EXPECT_EQ(Text(Field::lblNum1), "-11");
    EXPECT_EQ(Rect("lblNum1").left, one.left);
    EXPECT_EQ(Rect("lblNum1").top, one.top);
    EXPECT_GT(Rect("lblNum1").right, one.right);
}

TEST_F(LookTest, FontsAreTheDesignsFacesSizesAndWeights)
{
    Start("Ada");
    struct Row {
        const char* name;
        const wchar_t* face;
        int height;  // pixels at 96 DPI: points * 96 / 72
        int weight;
        bool italic;
    };
    for (const Row& row : std::initializer_list<Row>{
             {"txtAnswer", L"Arial", -64, FW_BOLD, false},
             {"lblNum2", L"Arial", -64, FW_BOLD, false},
             {"Label2", L"Arial", -64, FW_NORMAL, false},
             {"Label7", L"Arial", -96, FW_BOLD, false},
             {"lblconto", L"Arial Black", -16, FW_BOLD, false},
             {"lblScore", L"Times New Roman", -48, FW_BOLD, false},
             {"lblMessage", L"MS Sans Serif", -32, FW_BOLD, true},
             {"Label14", L"MS Sans Serif", -18, FW_NORMAL, false},
             {"cmdNext", L"MS Sans Serif", -11, FW_BOLD, false},
             {"Label11", L"MS Sans Serif", -13, FW_NORMAL, false},
         }) {
        SCOPED_TRACE(row.name);
        LOGFONTW font{};
        ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control(row.name), WM_GETFONT, 0, 0)),
                               sizeof font, &font));
        EXPECT_STREQ(font.lfFaceName, row.face);
        EXPECT_EQ(font.lfHeight, row.height);
        EXPECT_EQ(font.lfWeight, row.weight);
        EXPECT_EQ(font.lfItalic != 0, row.italic);
    }
}

TEST_F(LookTest, TooltipsAccessibleTextsAndHiddenControls)
{
    random.queueQuestion(-7, -3, 0);
    Start("Ada");
    for (const auto& [name, tip] : std::initializer_list<std::pair<const char*, const wchar_t*>>{
             {"txtAnswer", L"Inserisci il risultato e  premi il tasto  Invio"},
             {"cmdNext", L"Go"},
             {"cmdExit", L"Ti prego resta ancora, forse riuscirai a farmi uscire "},
             {"lblScore", L"Questo \u00E8 il tuo punteggio. Forza con il  record"},
             {"Image1", L"Clicca sotto di me per impostare il Timer"},
             {"lblTime", L"Clicca sotto di me per attivare il Timer"},
             {"Label11", L""},
         }) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Tooltip(name), tip);
    }
    // Screen readers say what each control is, and what a display field shows.
    for (const auto& [name, spoken] : std::initializer_list<std::pair<const char*, const wchar_t*>>{
             {"lblNum1", L"Primo fattore meno 7"},
             {"lblNum2", L"Secondo fattore meno 3"},
             {"lblScore", L"Risposte esatte 0"},
             {"lblconto", L"Tempo restante 15 minuti"},
             {"lblnome1", L"Nome dello sfidante Ada"},
             {"Label6", L"Risposte esatte"},
             {"cmdExit", L"Esci dal gioco"},
         }) {
        SCOPED_TRACE(name);
        EXPECT_EQ(WindowText(Control(name)), spoken);
    }
    // Over a disabled cmdNext the window shows the button's tooltip, on the button's rectangle.
    EXPECT_FALSE(IsWindowEnabled(Control("cmdNext")));
    TTHITTESTINFOW hit{};
    hit.hwnd = tavola->hwnd();
    const RECT next = Rect("cmdNext");
    hit.pt = {(next.left + next.right) / 2, (next.top + next.bottom) / 2};
    wchar_t tip[64] = {};
    hit.ti.cbSize = sizeof hit.ti;
    hit.ti.lpszText = tip;
    EXPECT_TRUE(SendMessageW(Tooltips(), TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)));
    EXPECT_STREQ(tip, L"Go");
    EXPECT_EQ(WindowText(GetWindow(Control("txtAnswer"), GW_HWNDPREV)), L"Risposta");
    for (const char* hidden : {"Label9", "Label10", "lblnum5"}) EXPECT_FALSE(IsWindowVisible(Control(hidden))) << hidden;
    EXPECT_EQ(Text(Field::lblnum5), "0");
}

TEST_F(LookTest, TheClosingBracketMovesRightOnlyWhenTheSecondFactorReachesIt)
{
    struct Row {
        int q;
        int s;
        bool moves;
    };
    Start("Ada");
    const LONG designLeft = 464;  // 6960 twips
    for (const Row& row : std::initializer_list<Row>{{-7, 0, false}, {-14, 0, true}, {-14, 1, true}, {-3, 0, false}}) {
        SCOPED_TRACE(row.q);
        random.queueQuestion(-2, row.q, row.s);
        Answer(L"");
        Key(VK_RETURN);
        const RECT number = Rect("lblNum2");
        const RECT bracket = Rect("Label7");
        EXPECT_EQ(number.left, 400);
        if (row.moves)
            EXPECT_EQ(bracket.left, number.right);
        else
            EXPECT_EQ(bracket.left, designLeft);
    }
}

TEST_F(LookTest, TheGradientComesBackAfterACoveringWindow)
{
    struct Row {
        int p, q;
    };
    Start("Ada");
    RECT client;
    GetClientRect(tavola->hwnd(), &client);
    for (const Row& row : std::initializer_list<Row>{{-1, -1}, {-11, -20}, {-6, -13}}) {
        SCOPED_TRACE(row.p * 100 + row.q);
        random.queueQuestion(row.p, row.q, 0);
        Answer(L"");
        Key(VK_RETURN);
        HWND cover = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_WHITERECT, 0, 0, client.right,
                                     client.bottom, tavola->hwnd(), nullptr, nullptr, nullptr);
        SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        UpdateWindow(cover);
        Pump();
        ASSERT_EQ(PixelAt({750, 300}), RGB(255, 255, 255));
        DestroyWindow(cover);
        Pump();
        for (const POINT at : {POINT{20, 150}, POINT{750, 300}, POINT{400, 540}, POINT{790, 0}}) {
            int band = 0;
            while (layout::BandTop(band + 1, client.bottom) <= at.y) ++band;
            const layout::Rgb rgb = layout::BandColour(static_cast<std::int16_t>(row.p), static_cast<std::int16_t>(row.q), band);
            EXPECT_EQ(PixelAt(at), RGB(rgb.red, rgb.green, rgb.blue)) << at.x << "," << at.y;
        }
    }
}

TEST_F(LookTest, TextOnTheGradientGetsAnOutlineOnlyWhereItWouldNotStandOut)
{
    struct Row {
        int p, q;
        const char* name;
        COLORREF outline;  // its colour, or CLR_INVALID for none
    };
    Start("Ada");
    for (const Row& row : std::initializer_list<Row>{
             {-11, -20, "Label11", RGB(0, 0, 0)},    // yellow on (220, 255, ...): 1.1 to 1
             {-11, -20, "lblconto", RGB(0, 0, 0)},
             {-11, -20, "Label6", RGB(0, 0, 0)},     // light green on the brightest tint
             {-11, -20, "Label3", CLR_INVALID},      // blue stands out there by itself
             {-1, -1, "Label11", CLR_INVALID},       // yellow on (20, 20, ...) reads well
             {-1, -1, "Label3", RGB(255, 255, 255)}, // blue on near black
         }) {
        SCOPED_TRACE(std::string(row.name) + " " + std::to_string(row.p));
        random.queueQuestion(row.p, row.q, 0);
        Answer(L"");
        Key(VK_RETURN);
        const RECT rect = Rect(row.name);
        int black = 0;
        int white = 0;
        for (LONG y = rect.top + 2; y < rect.bottom - 2; ++y) {
            for (LONG x = rect.left + 2; x < rect.right - 2; ++x) {
                const COLORREF pixel = PixelAt({x, y});
                black += pixel == RGB(0, 0, 0);
                white += pixel == RGB(255, 255, 255);
            }
        }
        EXPECT_EQ(black > 10, row.outline == RGB(0, 0, 0)) << black;
        EXPECT_EQ(white > 10, row.outline == RGB(255, 255, 255)) << white;
    }
}

TEST_F(LookTest, ButtonFacesKeepTheirColourAndADisabledCaptionStaysReadable)
{
    random.queueQuestion(-2, -3, 0);
    Start("Ada");
    const RECT next = Rect("cmdNext");
    const RECT exit = Rect("cmdExit");
    const COLORREF cyan = RGB(0, 255, 255);
    EXPECT_EQ(PixelAt({next.left + 5, next.top + 5}), cyan);
    // Disabled: the caption in the bottom part of the face still stands out at 3:1 or more.
    EXPECT_FALSE(IsWindowEnabled(Control("cmdNext")));
    EXPECT_GE(StrongestContrast({next.left + 4, next.bottom - 18, next.right - 4, next.bottom - 5}, cyan), 3.0);
    // With the focus, the face keeps the design's colour.
    SetFocus(Control("cmdExit"));
    Pump();
    EXPECT_EQ(PixelAt({exit.left + 6, exit.top + 6}), RGB(192, 0, 192));
    EXPECT_EQ(PixelAt({exit.left + 20, exit.bottom - 20}), RGB(192, 0, 192));
}

}  // namespace

}  // namespace brivana::test
