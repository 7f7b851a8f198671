#include "win32/system_dialogs.h"

#include <algorithm>

#include "game/keeper_requests.h"
#include "win32/resource_ids.h"
#include "win32/wide_text.h"

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
    std::wstring text;
    std::wstring title;
    std::wstring typed;
};

// Widens a dialog so that its caption bar shows the whole title, and centres it again on its
// owner (or the screen). Returns by how many pixels it grew.
int WidenForTitle(HWND dialog)
{
    wchar_t title[512] = {};
    const int length = GetWindowTextW(dialog, title, 512);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return 0;
    HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE text{};
    GetTextExtentPoint32W(dc, title, length, &text);
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    DeleteObject(font);

    // The caption's icon and buttons, the frame, and a margin on both sides; a quarter more for
    // window managers that draw titles in a larger font than Windows' own.
    const int needed = text.cx * 5 / 4 + 4 * metrics.iCaptionWidth + 2 * GetSystemMetrics(SM_CXFRAME) + 32;
    RECT frame;
    GetWindowRect(dialog, &frame);
    const int grow = needed - (frame.right - frame.left);
    if (grow <= 0) return 0;
    const int width = frame.right - frame.left + grow;
    const int height = frame.bottom - frame.top;
    HWND owner = GetWindow(dialog, GW_OWNER);
    RECT around;
    if (!owner || !IsWindowVisible(owner) || !GetWindowRect(owner, &around))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
    SetWindowPos(dialog, nullptr, std::max(0L, (around.left + around.right - width) / 2),
                 std::max(0L, (around.top + around.bottom - height) / 2), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return grow;
}

// Moves a control of a dialog right by `by` pixels, or makes it `by` pixels wider.
void Shift(HWND dialog, HWND item, int by, bool wider)
{
    RECT rect;
    GetWindowRect(item, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    if (wider)
        SetWindowPos(item, nullptr, 0, 0, rect.right - rect.left + by, rect.bottom - rect.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
        SetWindowPos(item, nullptr, rect.left + by, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CALLBACK CentreChild(HWND item, LPARAM by)
{
    Shift(GetParent(item), item, static_cast<int>(by), false);
    return TRUE;
}

// Gives the buttons of a dialog about to be shown their Italian names. Installed for this
// thread only while one message box is open; it keeps no state of its own.
LRESULT CALLBACK ItalianButtons(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        const auto box = reinterpret_cast<HWND>(wParam);
        wchar_t kind[16] = {};
        GetClassNameW(box, kind, 16);
        if (std::wstring_view(kind) == L"#32770") {
            SetDlgItemTextW(box, IDOK, L"OK");
            SetDlgItemTextW(box, IDYES, L"S\u00EC");
            SetDlgItemTextW(box, IDNO, L"No");
            SetDlgItemTextW(box, IDCANCEL, L"Annulla");
            // A long title ("Data ..." with the time) is shown whole; the content stays centred.
            if (const int grow = WidenForTitle(box); grow > 0)
                EnumChildWindows(box, CentreChild, grow / 2);
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
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

MsgAnswer SystemDialogs::messageBox(HWND owner, const std::string& text, int style, const std::string& title)
{
    HHOOK hook = SetWindowsHookExW(WH_CBT, ItalianButtons, nullptr, GetCurrentThreadId());
    const int pressed = MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(), Flags(style));
    if (hook) UnhookWindowsHookEx(hook);
    if (style != MsgStyle::yesNoQuestionDefaultNo) return MsgAnswer::ok;
    // A box that could not be shown, or closed any other way, counts as No: the safe answer.
    return pressed == IDYES ? MsgAnswer::yes : MsgAnswer::no;
}

std::string SystemDialogs::inputBox(HWND owner, const std::string& prompt, const std::string& title)
{
    Prompt state{Wide(prompt), Wide(title), {}};
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_NAME_PROMPT), owner,
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
