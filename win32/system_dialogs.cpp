#include "win32/system_dialogs.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "game/keeper_requests.h"
#include "layout/dialog_width.h"
#include "win32/broken_lines.h"
#include "win32/dpi.h"
#include "system/owned_handle_windows.h"
#include "win32/resource_ids.h"
#include "system/wide_text_windows.h"

namespace brivana::win32 {

namespace {

UINT Flags(int style)
{
    switch (style) {
    case MsgStyle::yesNoQuestionDefaultNo: return MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
    case MsgStyle::okExclamation: return MB_OK | MB_ICONEXCLAMATION;
    default: return MB_OK;
    }
}

struct Prompt {
    std::string question;  // UTF-8, as the game asks it
    std::wstring text;
    std::wstring title;
    std::wstring typed;
};

// The work area of the monitor a dialog belongs to: its owner's, when it has one.
RECT WorkArea(HWND dialog)
{
    HWND owner = GetWindow(dialog, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

// The frame width at which a dialog's caption bar shows its whole title.
int TitleFrameWidth(HWND dialog)
{
    wchar_t title[512] = {};
    const int length = GetWindowTextW(dialog, title, 512);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return 0;
    const OwnedFont font(CreateFontIndirectW(&metrics.lfCaptionFont));
    SIZE text{};
    {
        const WindowDc dc(dialog);
        const Selection selected(dc.get(), font.get());
        GetTextExtentPoint32W(dc.get(), title, length, &text);
    }
    return layout::TitleFrameWidth(text.cx, metrics.iCaptionWidth, GetSystemMetrics(SM_CXFRAME),
                                   WindowDpi(dialog) / 96.0);
}

// Gives a dialog this frame size and puts it in the middle of its owner, or of the work area
// when the owner is not in sight, wholly inside the work area.
void Place(HWND dialog, int width, int height)
{
    const RECT work = WorkArea(dialog);
    RECT around = work;
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner && IsWindowVisible(owner)) GetWindowRect(owner, &around);
    const auto middle = [](LONG from, LONG to, int size, LONG low, LONG high) {
        return std::max(low, std::min((from + to - size) / 2, high - size));
    };
    SetWindowPos(dialog, nullptr, middle(around.left, around.right, width, work.left, work.right),
                 middle(around.top, around.bottom, height, work.top, work.bottom), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// Widens a dialog so that its caption bar shows the whole title (never beyond the work area),
// and centres it again. Returns by how many pixels it grew.
int WidenForTitle(HWND dialog)
{
    RECT frame;
    GetWindowRect(dialog, &frame);
    const RECT work = WorkArea(dialog);
    const int width = std::min(TitleFrameWidth(dialog), static_cast<int>(work.right - work.left));
    const int grow = width - (frame.right - frame.left);
    if (grow <= 0) return 0;
    Place(dialog, width, frame.bottom - frame.top);
    return grow;
}

// A child's rectangle in its dialog's client coordinates.
RECT ChildRect(HWND dialog, HWND item)
{
    RECT rect;
    GetWindowRect(item, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Moves a control of a dialog right by `by` pixels, or makes it `by` pixels wider.
void Shift(HWND dialog, HWND item, int by, bool wider)
{
    const RECT rect = ChildRect(dialog, item);
    if (wider)
        SetWindowPos(item, nullptr, 0, 0, rect.right - rect.left + by, rect.bottom - rect.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
        SetWindowPos(item, nullptr, rect.left + by, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// What the system put in a message box: its icon, its text and its buttons.
struct BoxParts {
    HWND icon = nullptr;
    HWND text = nullptr;
    std::vector<HWND> buttons;
};

BOOL CALLBACK CollectPart(HWND child, LPARAM into)
{
    auto& parts = *reinterpret_cast<BoxParts*>(into);
    wchar_t kind[16] = {};
    GetClassNameW(child, kind, 16);
    // The box itself is not shown yet: its parts are those meant to be seen.
    if (!(GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE)) return TRUE;
    if (std::wstring_view(kind) == L"Button") parts.buttons.push_back(child);
    if (std::wstring_view(kind) == L"Static") {
        const bool icon = (GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        if (!icon) parts.text = child;
        if (icon && SendMessageW(child, STM_GETICON, 0, 0)) parts.icon = child;  // an empty one takes no room
    }
    return TRUE;
}

// Breaks a static text's lines where they would pass this width, inside a word too long for a
// line too, and returns the height of its lines.
int BreakLines(HWND text, int width)
{
    std::wstring shown(static_cast<std::size_t>(GetWindowTextLengthW(text)) + 1, L'\0');
    shown.resize(static_cast<std::size_t>(GetWindowTextW(text, shown.data(), static_cast<int>(shown.size()))));
    const WindowDc dc(text);
    const Selection font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(text, WM_GETFONT, 0, 0)));
    const std::wstring broken = BrokenLines(dc.get(), shown, width);
    if (broken != shown) SetWindowTextW(text, broken.c_str());
    RECT needed{0, 0, width, 0};
    DrawTextW(dc.get(), broken.c_str(), static_cast<int>(broken.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    return needed.bottom;
}

// Lays out a message box again after the system has built it: no wider than the widest message
// box unless its whole title needs it (and never wider than the work area), its lines broken by
// the line-break rule, a word too long for a line (a long name) where the line is full, and the
// buttons centred below the text, or kept at the right where this Windows puts them there.
void FitMessageBox(HWND box)
{
    BoxParts parts;
    EnumChildWindows(box, CollectPart, reinterpret_cast<LPARAM>(&parts));
    if (!parts.text || parts.buttons.empty()) return;  // not a box this knows: left as it is
    RECT frame;
    RECT client;
    GetWindowRect(box, &frame);
    GetClientRect(box, &client);
    const int frameWidth = frame.right - frame.left;
    const int frameHeight = frame.bottom - frame.top;
    const RECT text = ChildRect(box, parts.text);
    RECT block = text;  // the icon and the text
    if (parts.icon) {
        const RECT icon = ChildRect(box, parts.icon);
        UnionRect(&block, &block, &icon);
    }
    RECT row = ChildRect(box, parts.buttons.front());
    for (HWND button : parts.buttons) {
        const RECT rect = ChildRect(box, button);
        UnionRect(&row, &row, &rect);
    }
    // Wine centres the buttons on the frame, not the client area: a few pixels off still counts.
    const int leftOver = (row.left - client.left) - (client.right - row.right);
    const bool centred = std::abs(leftOver) <= frameWidth - client.right + 2;

    const RECT work = WorkArea(box);
    const int workWidth = static_cast<int>(work.right - work.left);
    const int widest = layout::WidestMessageText(workWidth, WindowDpi(box) / 96.0);
    const int width = std::min(std::max(std::min(frameWidth, widest), TitleFrameWidth(box)), workWidth);
    const int grow = width - frameWidth;
    int textWidth = text.right - text.left;
    int textHeight = text.bottom - text.top;
    int textTop = text.top;
    if (grow < 0) textWidth += grow;
    // Never taller than the work area: the buttons stay in sight.
    const int tallest = static_cast<int>(work.bottom - work.top) - (frameHeight - (block.bottom - block.top));
    textHeight = std::max(textHeight, std::min(BreakLines(parts.text, textWidth), tallest));
    if (textHeight > text.bottom - text.top) textTop = block.top;
    const int down = std::max(0, textTop + textHeight - static_cast<int>(block.bottom));
    const int across = std::max(0, grow / 2);  // a box widened for its title keeps its content centred
    SetWindowPos(parts.text, nullptr, text.left + across, textTop, textWidth, textHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (parts.icon) Shift(box, parts.icon, across, false);
    const int rowLeft = centred ? (client.right + grow - (row.right - row.left)) / 2 : row.left + grow;
    for (HWND button : parts.buttons) {
        const RECT rect = ChildRect(box, button);
        SetWindowPos(button, nullptr, rect.left - row.left + rowLeft, rect.top + down, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Place(box, width, frameHeight + down);
}

// A question's box: Esc gives the answer the protocol gives it. The system's box ignores Esc
// when it has no Cancel button.
LRESULT CALLBACK EscapeAnswers(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL && !GetDlgItem(box, IDCANCEL)) {
        EndDialog(box, static_cast<INT_PTR>(EscapeAnswer(MsgStyle::yesNoQuestionDefaultNo)));
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, &EscapeAnswers, 0);
    return DefSubclassProc(box, message, wParam, lParam);
}

// Gives a message box of this thread its Italian buttons, with their access keys, and its
// layout, once the system has built it. Installed for this thread only while one message box
// is open; it keeps no state of its own.
LRESULT CALLBACK AfterBoxBuilt(int code, WPARAM wParam, LPARAM lParam)
{
    const auto& sent = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && sent.message == WM_INITDIALOG) {
        wchar_t kind[16] = {};
        GetClassNameW(sent.hwnd, kind, 16);
        if (std::wstring_view(kind) == L"#32770") {
            SetDlgItemTextW(sent.hwnd, IDOK, L"OK");
            SetDlgItemTextW(sent.hwnd, IDYES, L"&S\u00EC");
            SetDlgItemTextW(sent.hwnd, IDNO, L"&No");
            SetDlgItemTextW(sent.hwnd, IDCANCEL, L"Annulla");
            if (GetDlgItem(sent.hwnd, IDNO)) SetWindowSubclass(sent.hwnd, &EscapeAnswers, 0, 0);
            FitMessageBox(sent.hwnd);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

INT_PTR CALLBACK PromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* prompt = reinterpret_cast<Prompt*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        prompt = reinterpret_cast<Prompt*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        SetWindowTextW(dialog, prompt->title.c_str());
        SetDlgItemTextW(dialog, IDC_PROMPT_TEXT, prompt->text.c_str());
        // The name box stops where a record's name does.
        SendDlgItemMessageW(dialog, IDC_PROMPT_NAME, EM_LIMITTEXT, kHolderNameMaxLength, 0);
        if (const int grow = WidenForTitle(dialog); grow > 0) {
            for (int id : {IDC_PROMPT_TEXT, IDC_PROMPT_NAME})
                Shift(dialog, GetDlgItem(dialog, id), grow, true);
            for (int id : {IDOK, IDCANCEL}) Shift(dialog, GetDlgItem(dialog, id), grow, false);
        }
        return TRUE;  // the focus goes to the name box
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            HWND box = GetDlgItem(dialog, IDC_PROMPT_NAME);
            std::wstring typed(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
            typed.resize(static_cast<std::size_t>(GetWindowTextW(box, typed.data(), static_cast<int>(typed.size()))));
            prompt->typed = std::move(typed);
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_PROMPT_NAME && HIWORD(wParam) == EN_CHANGE) {
            // Once the name reaches its longest, the prompt says so.
            const auto typed = static_cast<std::size_t>(GetWindowTextLengthW(reinterpret_cast<HWND>(lParam)));
            const std::string shown = NameLimitReached(typed) ? prompt->question + "\n" + std::string(kNameLimitNotice)
                                                              : prompt->question;
            SetDlgItemTextW(dialog, IDC_PROMPT_TEXT, Wide(shown).c_str());
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

MsgAnswer SystemDialogs::messageBox(DialogOwner owner, const std::string& text, int style, const std::string& title)
{
    int pressed = 0;
    {
        const OwnedHook hook(SetWindowsHookExW(WH_CALLWNDPROCRET, AfterBoxBuilt, nullptr, GetCurrentThreadId()));
        pressed = MessageBoxW(static_cast<HWND>(owner), Wide(text).c_str(), Wide(title).c_str(), Flags(style));
    }
    if (style != MsgStyle::yesNoQuestionDefaultNo) return MsgAnswer::ok;
    // A box that could not be shown, or closed any other way, counts as No: the safe answer.
    return pressed == IDYES ? MsgAnswer::yes : MsgAnswer::no;
}

std::string SystemDialogs::inputBox(DialogOwner owner, const std::string& prompt, const std::string& title)
{
    Prompt state{prompt, Wide(prompt), Wide(title), {}};
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_NAME_PROMPT),
                                           static_cast<HWND>(owner),
                                           PromptProc, reinterpret_cast<LPARAM>(&state));
    if (result == -1 || result == 0) {
        // The program was built without its prompt: the game goes on with an empty name.
        messageBox(owner, "Non riesco a mostrare la richiesta del nome: si gioca senza nome.",
                   MsgStyle::okExclamation, "Brivana");
        return {};
    }
    return result == IDOK ? Utf8(state.typed) : std::string();
}

}  // namespace brivana::win32
