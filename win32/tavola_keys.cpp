// Every key and typed character of Tavola: the keys the window takes before its controls
// (Tab, Enter, the access keys), and the answer box's characters, typed or pasted, through
// the protocol's filters.
#include "win32/tavola.h"

#include <commctrl.h>
#include <oleacc.h>

#include "game/answer_keys.h"

namespace brivana::win32 {

bool Tavola::PreTranslate(const MSG& message)
{
    if (hasEnded() || !hwnd_ || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) return false;
    if (message.message == WM_KEYDOWN) {
        const bool withControl = GetKeyState(VK_CONTROL) < 0;
        if (message.wParam == VK_F2) {
            // A screen reader says the time left, wherever the focus is.
            protocol_.sayTimeLeft();
            return true;
        }
        if (message.wParam == VK_TAB && !withControl) {
            const Control* focused = find(GetFocus());
            protocol_.tab(focused ? focused->row->name : std::string_view(), GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
            return true;
        }
        if (message.wParam == VK_RETURN) {
            // A focused button takes the Enter itself; otherwise cmdNext, the default button,
            // while it is enabled. Else the answer box gets it as character 13.
            const Control* focused = find(GetFocus());
            if (focused && (focused->row->kind == layout::Kind::button ||
                            focused->row->kind == layout::Kind::graphicalButton)) {
                Click(*focused);
                return true;
            }
            if (keys::WhereEnterGoes(IsWindowEnabled(control("cmdNext"))) == keys::EnterGoesTo::nextButton) {
                Click(*find("cmdNext"));
                return true;
            }
        }
        return false;
    }
    if (message.message == WM_SYSKEYDOWN && (message.wParam == 'N' || message.wParam == 'X')) {
        // The key that went with Alt, as the default handling sees it: Alt released now is no
        // longer Alt pressed alone, which would put the menu bar in keyboard mode.
        DefWindowProcW(hwnd_, message.message, message.wParam, message.lParam);
        // The access keys of "&Nuovo calcolo" and "E&xit"; a disabled button ignores its key.
        const Control& button = *find(message.wParam == 'N' ? "cmdNext" : "cmdExit");
        if (IsWindowEnabled(button.hwnd())) Click(button);
        return true;
    }
    return false;
}

void Tavola::Click(const Control& button)
{
    SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(button.id, BN_CLICKED), reinterpret_cast<LPARAM>(button.hwnd()));
}

bool Tavola::FilterCharacter(wchar_t& character, bool pasted)
{
    char32_t filtered = character;
    if (!(pasted ? protocol_.pasteCharacter(filtered) : protocol_.typeCharacter(filtered))) return false;
    character = static_cast<wchar_t>(filtered);
    return true;
}

void Tavola::PasteFiltered(HWND box)
{
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(hwnd_)) return;
    std::wstring pasted;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            pasted = text;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    std::wstring kept;
    for (wchar_t character : pasted)
        if (FilterCharacter(character, true)) kept += character;
    if (!kept.empty()) SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(kept.c_str()));
}

void Tavola::RefilterAnswer(HWND box)
{
    // Whatever way text came in (a drop, another program's message), the box keeps only what
    // the paste filter lets through.
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    std::wstring kept;
    for (wchar_t character : text)
        if (FilterCharacter(character, true)) kept += character;
    if (kept != text) SetWindowTextW(box, kept.c_str());
}

LRESULT CALLBACK Tavola::AnswerProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    return reinterpret_cast<Tavola*>(self)->HandleAnswerMessage(box, message, wParam, lParam);
}

LRESULT Tavola::HandleAnswerMessage(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR: {
        // Typed characters, dead-key compositions included, through the game's key filter.
        // Ctrl+letters arrive as characters 1 to 26 and are dropped there, Ctrl+V included.
        wchar_t character = static_cast<wchar_t>(wParam);
        if (!FilterCharacter(character, false)) return 0;
        return DefSubclassProc(box, WM_CHAR, character, lParam);
    }
    case WM_PASTE:
        PasteFiltered(box);
        return 0;
    case WM_KEYDOWN:
        // Shift+Insert pastes; some edit controls do it without a WM_PASTE.
        if (wParam == VK_INSERT && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0) {
            PasteFiltered(box);
            return 0;
        }
        break;
    case WM_GETOBJECT:
        if (const Control* answer = find(box)) {
            if (const LRESULT object = SpokenAccessible(box, wParam, lParam, answer->spoken)) return object;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(box, &Tavola::AnswerProc, 0);
        break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

LRESULT CALLBACK Tavola::SpokenProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    if (message == WM_GETOBJECT) {
        const Tavola& tavola = *reinterpret_cast<Tavola*>(self);
        // The notice is an alert, which screen readers say as it is raised.
        const Control* spoken = tavola.find(button);
        const SpokenWords alert{{}, {}, ROLE_SYSTEM_ALERT};
        if (spoken || button == tavola.notice_.get()) {
            if (const LRESULT object = SpokenAccessible(button, wParam, lParam, spoken ? spoken->spoken : alert))
                return object;
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(button, &Tavola::SpokenProc, 0);
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

}  // namespace brivana::win32
